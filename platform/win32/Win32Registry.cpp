// Registry port on Windows: the wide registry calls, so that a path outside
// the ANSI code page reads back as it was written.
#include <windows.h>

#include <vector>

#include "platform/win32/Win32Adapters.h"

namespace kv::platform::win32 {

namespace {

HKEY RootHandle(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
        break;
    }
    return HKEY_LOCAL_MACHINE;
}

// KEY_READ | KEY_WRITE is KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY.
REGSAM AccessMask(RegistryAccess access) {
    switch (access) {
    case RegistryAccess::Read:
        return KEY_READ;
    case RegistryAccess::ReadAndSetValues:
        return KEY_READ | KEY_SET_VALUE;
    case RegistryAccess::ReadWrite:
        break;
    }
    return KEY_READ | KEY_WRITE;
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : m_key(key) {}
    ~Win32RegistryKey() override { RegCloseKey(m_key); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    long SetString(const std::wstring& name, const std::wstring& value) override {
        return Set(name, REG_SZ, value.c_str(), (value.size() + 1) * sizeof(wchar_t));
    }
    long SetBinary(const std::wstring& name, std::span<const std::uint8_t> bytes) override {
        return Set(name, REG_BINARY, bytes.data(), bytes.size());
    }
    long SetDword(const std::wstring& name, std::uint32_t value) override {
        const DWORD data = value;
        return Set(name, REG_DWORD, &data, sizeof data);
    }
    long DeleteValue(const std::wstring& name) override { return RegDeleteValueW(m_key, name.c_str()); }

    long ReadString(const std::wstring& name, std::wstring& value) override {
        DWORD type = 0;
        std::vector<BYTE> data;
        const long error = Query(name, type, data);
        if (error != ERROR_SUCCESS) return error;
        if (!IsText(type)) return ERROR_UNSUPPORTED_TYPE;
        std::vector<wchar_t> text(data.size() / sizeof(wchar_t) + 1, L'\0');
        std::copy(data.begin(), data.begin() + (text.size() - 1) * sizeof(wchar_t),
                  reinterpret_cast<BYTE*>(text.data()));
        value = std::wstring(text.data());
        return ERROR_SUCCESS;
    }
    long ReadDword(const std::wstring& name, std::uint32_t& value) override {
        DWORD type = 0;
        std::vector<BYTE> data;
        const long error = Query(name, type, data);
        if (error != ERROR_SUCCESS) return error;
        if (type != REG_DWORD || data.size() != sizeof(DWORD)) return ERROR_UNSUPPORTED_TYPE;
        DWORD number = 0;
        std::copy(data.begin(), data.end(), reinterpret_cast<BYTE*>(&number));
        value = number;
        return ERROR_SUCCESS;
    }
    long ReadBinary(const std::wstring& name, std::vector<std::uint8_t>& bytes) override {
        DWORD type = 0;
        std::vector<BYTE> data;
        const long error = Query(name, type, data);
        if (error != ERROR_SUCCESS) return error;
        if (type != REG_BINARY) return ERROR_UNSUPPORTED_TYPE;
        bytes.assign(data.begin(), data.end());
        return ERROR_SUCCESS;
    }

    std::vector<std::wstring> SubkeyNames() override {
        std::vector<std::wstring> names;
        for (DWORD index = 0;; ++index) {
            wchar_t name[256];  // the longest key name the registry allows, and its zero
            DWORD length = static_cast<DWORD>(std::size(name));
            if (RegEnumKeyExW(m_key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
                break;
            }
            names.emplace_back(name, length);
        }
        return names;
    }

private:
    long Set(const std::wstring& name, DWORD type, const void* data, std::size_t size) {
        return RegSetValueExW(m_key, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    }

    // Asked for its size first, and again if it grew in between.
    long Query(const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
        LONG result = ERROR_MORE_DATA;
        DWORD size = 0;
        while (result == ERROR_MORE_DATA) {
            result = RegQueryValueExW(m_key, name.c_str(), nullptr, nullptr, nullptr, &size);
            if (result != ERROR_SUCCESS) return result;
            data.assign(size, 0);
            result = RegQueryValueExW(m_key, name.c_str(), nullptr, &type, data.data(), &size);
        }
        if (result == ERROR_SUCCESS) data.resize(size);
        return result;
    }

    HKEY m_key;
};

}  // namespace

long Win32Registry::CreateKey(RegistryRoot root, const std::wstring& path, RegistryAccess access,
                              std::unique_ptr<RegistryKey>& key, bool* created) {
    HKEY handle = nullptr;
    DWORD disposition = 0;
    const long error = RegCreateKeyExW(RootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       AccessMask(access), nullptr, &handle, &disposition);
    if (error != ERROR_SUCCESS) return error;
    if (created != nullptr) *created = disposition == REG_CREATED_NEW_KEY;
    key = std::make_unique<Win32RegistryKey>(handle);
    return ERROR_SUCCESS;
}

long Win32Registry::OpenKey(RegistryRoot root, const std::wstring& path, RegistryAccess access,
                            std::unique_ptr<RegistryKey>& key) {
    HKEY handle = nullptr;
    const long error = RegOpenKeyExW(RootHandle(root), path.c_str(), 0, AccessMask(access), &handle);
    if (error == ERROR_SUCCESS) key = std::make_unique<Win32RegistryKey>(handle);
    return error;
}

// RegDeleteTreeW may leave the (emptied) key itself behind; it goes
// separately, and is then found missing where the tree call took it.
long Win32Registry::DeleteTree(RegistryRoot root, const std::wstring& path) {
    const long emptied = RegDeleteTreeW(RootHandle(root), path.c_str());
    if (emptied != ERROR_SUCCESS && emptied != ERROR_FILE_NOT_FOUND) return emptied;
    const long removed = RegDeleteKeyW(RootHandle(root), path.c_str());
    if (removed != ERROR_FILE_NOT_FOUND) return removed;
    return emptied;
}

}  // namespace kv::platform::win32
