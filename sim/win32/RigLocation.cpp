// Finding the rig file from the environment or the registry, and the Unix
// path rule that lets a Wine process open the build machine's files.
#include "sim/win32/RigLocation.h"

#include <windows.h>

#include <algorithm>
#include <system_error>

#include "sim/win32/Registry.h"
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
    RegKey key;
    if (RegKey::Open(HKEY_LOCAL_MACHINE, kSimulatorKey, KEY_READ, key) == ERROR_SUCCESS) {
        if (const auto recorded = key.GetString(kRigValue); recorded && !recorded->empty()) {
            return std::filesystem::path(*recorded);
        }
    }
    error = "no rig: KV_SIM_RIG is not set and \"kvsim install\" has not recorded one";
    return {};
}

bool RecordRigFile(const std::filesystem::path& rig, std::string& error) {
    RegKey key;
    LSTATUS status = RegKey::Create(HKEY_LOCAL_MACHINE, kSimulatorKey, key);
    if (status == ERROR_SUCCESS) status = key.SetString(kRigValue, AbsoluteRigPath(rig).wstring());
    if (status != ERROR_SUCCESS) {
        error = WithWin32Error("cannot record the rig under HKLM\\Software\\Korvex\\Simulator", status);
        return false;
    }
    return true;
}

}  // namespace kv::sim::win32
