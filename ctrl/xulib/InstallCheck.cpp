// The plug-in installation check.
#include "ctrl/xulib/InstallCheck.h"

#include "platform/ProgramFolder.h"
#include "platform/Utf8.h"
#include "wire/VendorKeys.h"

namespace kv::ctrl::xulib {

namespace {

constexpr std::uint32_t kPlatformNt = 2;
constexpr std::uint32_t kElevationTypeFull = 2;

bool IsVistaOrLater(const platform::Environment& environment) {
    platform::OsVersion version;
    return environment.GetOsVersion(version) && version.platformId == kPlatformNt && version.major > 5;
}

// Both values read, the file they name exists and the version is recent
// enough.
bool KeyPasses(platform::Ports& ports, platform::RegistryKey* key) {
    std::uint32_t version = 0;
    std::wstring file;
    return key && key->ReadDword(L"Version Number", version) == platform::kErrorSuccess &&
           key->ReadString(L"FileName Path", file) == platform::kErrorSuccess &&
           ports.files.Exists(platform::WideToUtf8(file)) && version >= wire::kMinimumPluginVersion;
}

// The user's own key (created empty when missing, as it always was) or the
// machine-wide copy the setup records: with only the user's key, every other
// user of the machine would be asked for elevation at the first open and
// that run would go on without the plug-in cameras. The machine key is only
// opened, never created.
bool IsRegistered(platform::Ports& ports) {
    using platform::RegistryAccess;
    using platform::RegistryRoot;
    const std::wstring path = platform::Utf8ToWide(wire::kVendorKey);
    std::unique_ptr<platform::RegistryKey> user;
    ports.registry.CreateKey(RegistryRoot::CurrentUser, path, RegistryAccess::Read, user, nullptr);
    if (KeyPasses(ports, user.get())) return true;
    std::unique_ptr<platform::RegistryKey> machine;
    ports.registry.OpenKey(RegistryRoot::LocalMachine, path, RegistryAccess::Read, machine);
    return KeyPasses(ports, machine.get());
}

bool IsElevated(const platform::Environment& environment) {
    const auto type = environment.TokenElevationType();
    const auto elevated = environment.TokenElevation();
    return type && elevated && (*type == kElevationTypeFull || *elevated == 1);
}

// Both the installer and the module are taken from the program's folder
// only: an elevated process must not run or load what someone left in the
// current folder or along PATH.
void Install(platform::Ports& ports) {
    if (IsVistaOrLater(ports.environment) && !IsElevated(ports.environment)) {
        const std::string installer = platform::ProgramFolder(ports.environment) + kInstaller;
        if (ports.files.Exists(installer) && ports.processes.StartElevated(installer)) {
            ports.clock.Sleep(kInstallerWaitMs);
        }
        return;
    }
    {
        const auto module = ports.modules.LoadFromProgramFolder(kPluginModule);
        if (!module) return;
        using RegisterServer = std::int32_t(KV_WINAPI*)();
        if (const auto entry = reinterpret_cast<RegisterServer>(module->Symbol("DllRegisterServer"))) entry();
    }  // freed before the wait
    ports.clock.Sleep(kRegistrationWaitMs);
}

}  // namespace

void RunInstallCheck(platform::Ports& ports) {
    if (!IsVistaOrLater(ports.environment) || !IsRegistered(ports)) Install(ports);
}

}  // namespace kv::ctrl::xulib
