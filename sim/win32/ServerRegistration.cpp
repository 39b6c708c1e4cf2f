// Writing and removing the capture filter's class key.
#include "sim/win32/ServerRegistration.h"

#include "platform/win32/Win32Adapters.h"
#include "sim/win32/ErrorText.h"
#include "sim/win32/SimIds.h"

namespace kv::sim::win32 {

namespace {
using platform::RegistryAccess;
using platform::RegistryRoot;

std::wstring ClassKey() { return std::wstring(L"CLSID\\") + kClsidSimCameraText; }
}  // namespace

bool RegisterServerClass(const std::filesystem::path& dll, std::string& error) {
    platform::win32::Win32Registry registry;
    std::unique_ptr<platform::RegistryKey> classKey;
    std::unique_ptr<platform::RegistryKey> server;
    long status =
        registry.CreateKey(RegistryRoot::ClassesRoot, ClassKey(), RegistryAccess::ReadWrite, classKey, nullptr);
    if (status == ERROR_SUCCESS) status = classKey->SetString(L"", kSimCameraName);
    if (status == ERROR_SUCCESS) {
        status = registry.CreateKey(RegistryRoot::ClassesRoot, ClassKey() + L"\\InprocServer32",
                                    RegistryAccess::ReadWrite, server, nullptr);
    }
    if (status == ERROR_SUCCESS) status = server->SetString(L"", dll.wstring());
    if (status == ERROR_SUCCESS) status = server->SetString(L"ThreadingModel", L"Both");
    if (status != ERROR_SUCCESS) {
        error = WithWin32Error("cannot register the simulated capture filter's class", status);
        return false;
    }
    return true;
}

bool UnregisterServerClass(std::string& error) {
    platform::win32::Win32Registry registry;
    const long status = registry.DeleteTree(RegistryRoot::ClassesRoot, ClassKey());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        error = WithWin32Error("cannot remove the simulated capture filter's class", status);
        return false;
    }
    return true;
}

}  // namespace kv::sim::win32
