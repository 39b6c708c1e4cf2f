// The plug-in installation check.
#include "ctrl/xulib/InstallCheck.h"

namespace kv::ctrl::xulib {

namespace {

constexpr std::size_t kMaxPathBytes = 260;
constexpr std::uint32_t kPlatformNt = 2;
constexpr std::uint32_t kElevationTypeFull = 2;

bool IsVistaOrLater(const platform::Environment& environment) {
    platform::OsVersion version;
    return environment.GetOsVersion(version) && version.platformId == kPlatformNt && version.major > 5;
}

// Passes when both values read and the file they name exists; `version`
// is the version read.
bool IsRegistered(platform::Ports& ports, std::uint32_t& version) {
    const auto key = ports.registry.CreateKeyForReading(platform::RegistryRoot::CurrentUser, kVendorKey);
    std::string file;
    return key && key->ReadDword("Version Number", version) && key->ReadString("FileName Path", kMaxPathBytes, file) &&
           ports.files.Exists(file);
}

bool IsElevated(const platform::Environment& environment) {
    const auto type = environment.TokenElevationType();
    const auto elevated = environment.TokenElevation();
    return type && elevated && (*type == kElevationTypeFull || *elevated == 1);
}

// The program's own folder, with a separator at the end.
std::string ProgramFolder(platform::Ports& ports) {
    const std::string program = ports.environment.ModulePath();
    const auto cut = program.find_last_of(ports.files.Separator());
    return cut == std::string::npos ? std::string() : program.substr(0, cut + 1);
}

// Both the installer and the module are taken from the program's folder
// only: an elevated process must not run or load what someone left in the
// current folder or along PATH.
void Install(platform::Ports& ports) {
    if (IsVistaOrLater(ports.environment) && !IsElevated(ports.environment)) {
        const std::string installer = ProgramFolder(ports) + kInstaller;
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
    std::uint32_t version = 0;
    if (!IsVistaOrLater(ports.environment) || !IsRegistered(ports, version) || version < kMinimumPluginVersion) {
        Install(ports);
    }
}

}  // namespace kv::ctrl::xulib
