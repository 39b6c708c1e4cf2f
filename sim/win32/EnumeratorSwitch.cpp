// The TreatAs switch that makes the system device enumerator unavailable.
#include "sim/win32/EnumeratorSwitch.h"

#include <windows.h>

#include "sim/win32/Registry.h"
#include "sim/win32/SimIds.h"

namespace kv::sim::win32 {

namespace {

std::wstring TreatAsKey() { return std::wstring(L"CLSID\\") + kClsidSystemDeviceEnumText + L"\\TreatAs"; }

bool Ours(const RegKey& key) {
    const auto value = key.GetString(nullptr);
    return value && CompareStringOrdinal(value->c_str(), -1, kClsidNoEnumeratorText, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

bool SetEnumeratorAvailable(bool available, std::string& error) {
    RegKey key;
    LSTATUS status = ERROR_SUCCESS;
    if (!available) {
        status = RegKey::Create(HKEY_CLASSES_ROOT, TreatAsKey(), key);
        if (status == ERROR_SUCCESS) status = key.SetString(nullptr, kClsidNoEnumeratorText);
    } else if (RegKey::Open(HKEY_CLASSES_ROOT, TreatAsKey(), KEY_READ, key) == ERROR_SUCCESS && Ours(key)) {
        key = RegKey();
        status = DeleteKeyTree(HKEY_CLASSES_ROOT, TreatAsKey());
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
