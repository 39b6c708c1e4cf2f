// The TreatAs switch that makes the system device enumerator unavailable.
#include "sim/win32/EnumeratorSwitch.h"

#include <windows.h>

#include "platform/win32/Win32Adapters.h"
#include "sim/win32/ErrorText.h"
#include "sim/win32/SimIds.h"

namespace kv::sim::win32 {

namespace {

std::wstring TreatAsKey() { return std::wstring(L"CLSID\\") + kClsidSystemDeviceEnumText + L"\\TreatAs"; }

using platform::RegistryAccess;
using platform::RegistryRoot;

bool Ours(platform::RegistryKey& key) {
    std::wstring value;
    return key.ReadString(L"", value) == ERROR_SUCCESS &&
           CompareStringOrdinal(value.c_str(), -1, kClsidNoEnumeratorText, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

bool SetEnumeratorAvailable(bool available, std::string& error) {
    platform::win32::Win32Registry registry;
    std::unique_ptr<platform::RegistryKey> key;
    long status = ERROR_SUCCESS;
    if (!available) {
        status = registry.CreateKey(RegistryRoot::ClassesRoot, TreatAsKey(), RegistryAccess::ReadWrite, key, nullptr);
        if (status == ERROR_SUCCESS) status = key->SetString(L"", kClsidNoEnumeratorText);
    } else if (registry.OpenKey(RegistryRoot::ClassesRoot, TreatAsKey(), RegistryAccess::Read, key) == ERROR_SUCCESS &&
               Ours(*key)) {
        key.reset();
        status = registry.DeleteTree(RegistryRoot::ClassesRoot, TreatAsKey());
        if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    }
    if (status != ERROR_SUCCESS) {
        error = WithWin32Error(available ? "cannot restore the system device enumerator"
                                         : "cannot make the system device enumerator unavailable",
                               status);
        return false;
    }
    return true;
}

}  // namespace kv::sim::win32
