// Finding the rig file from the environment or the registry, and the Unix
// path rule that lets a Wine process open the build machine's files.
#include "sim/win32/RigLocation.h"

#include <windows.h>

#include <algorithm>
#include <system_error>

#include "platform/win32/Win32Adapters.h"
#include "sim/win32/ErrorText.h"
#include "sim/win32/SimIds.h"

namespace kv::sim::win32 {

namespace {

std::wstring EnvironmentRig() {
    const DWORD size = GetEnvironmentVariableW(L"KV_SIM_RIG", nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"KV_SIM_RIG", value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

}  // namespace

std::wstring WindowsRigPath(const std::wstring& name) {
    // "//server/share" is a UNC name, not a Unix path.
    if (name.empty() || name[0] != L'/' || (name.size() > 1 && name[1] == L'/')) return name;
    std::wstring path = L"Z:" + name;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::filesystem::path AbsoluteRigPath(const std::filesystem::path& name) {
    const std::filesystem::path windows(WindowsRigPath(name.wstring()));
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(windows, ec);
    return ec ? windows : absolute.lexically_normal();
}

std::filesystem::path FindRigFile(std::string& error) {
    const std::wstring fromEnvironment = EnvironmentRig();
    if (!fromEnvironment.empty()) return std::filesystem::path(WindowsRigPath(fromEnvironment));
    platform::win32::Win32Registry registry;
    std::unique_ptr<platform::RegistryKey> key;
    std::wstring recorded;
    if (registry.OpenKey(platform::RegistryRoot::LocalMachine, kSimulatorKey, platform::RegistryAccess::Read, key) ==
            ERROR_SUCCESS &&
        key->ReadString(kRigValue, recorded) == ERROR_SUCCESS && !recorded.empty()) {
        return std::filesystem::path(recorded);
    }
    error = "no rig: KV_SIM_RIG is not set and \"kvsim install\" has not recorded one";
    return {};
}

bool RecordRigFile(const std::filesystem::path& rig, std::string& error) {
    platform::win32::Win32Registry registry;
    std::unique_ptr<platform::RegistryKey> key;
    long status = registry.CreateKey(platform::RegistryRoot::LocalMachine, kSimulatorKey,
                                     platform::RegistryAccess::ReadWrite, key, nullptr);
    if (status == ERROR_SUCCESS) status = key->SetString(kRigValue, AbsoluteRigPath(rig).wstring());
    if (status != ERROR_SUCCESS) {
        error = WithWin32Error("cannot record the rig under HKLM\\Software\\Korvex\\Simulator", status);
        return false;
    }
    return true;
}

}  // namespace kv::sim::win32
