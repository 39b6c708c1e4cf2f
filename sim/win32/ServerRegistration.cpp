// Writing and removing the capture filter's class key.
#include "sim/win32/ServerRegistration.h"

#include "sim/win32/Registry.h"
#include "sim/win32/SimIds.h"

namespace kv::sim::win32 {

namespace {
std::wstring ClassKey() { return std::wstring(L"CLSID\\") + kClsidSimCameraText; }
}  // namespace

bool RegisterServerClass(const std::filesystem::path& dll, std::string& error) {
    RegKey classKey;
    RegKey server;
    LSTATUS status = RegKey::Create(HKEY_CLASSES_ROOT, ClassKey(), classKey);
    if (status == ERROR_SUCCESS) status = classKey.SetString(nullptr, kSimCameraName);
    if (status == ERROR_SUCCESS) status = RegKey::Create(HKEY_CLASSES_ROOT, ClassKey() + L"\\InprocServer32", server);
    if (status == ERROR_SUCCESS) status = server.SetString(nullptr, dll.wstring());
    if (status == ERROR_SUCCESS) status = server.SetString(L"ThreadingModel", L"Both");
    if (status != ERROR_SUCCESS) {
        error = WithWin32Error("cannot register the simulated capture filter's class", status);
        return false;
    }
    return true;
}

bool UnregisterServerClass(std::string& error) {
    const LSTATUS status = DeleteKeyTree(HKEY_CLASSES_ROOT, ClassKey());
    if (status != ERROR_SUCCESS) {
        error = WithWin32Error("cannot remove the simulated capture filter's class", status);
        return false;
    }
    return true;
}

}  // namespace kv::sim::win32
