// Owning registry-key wrapper and the value reads and writes the simulator needs.
#include "sim/win32/Registry.h"

#include <cstdio>
#include <utility>

namespace kv::sim::win32 {

RegKey::~RegKey() {
    if (key_ != nullptr) RegCloseKey(key_);
}

RegKey::RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        if (key_ != nullptr) RegCloseKey(key_);
        key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
}

LSTATUS RegKey::Open(HKEY root, const std::wstring& path, REGSAM access, RegKey& key) {
    HKEY raw = nullptr;
    const LSTATUS status = RegOpenKeyExW(root, path.c_str(), 0, access, &raw);
    if (status == ERROR_SUCCESS) {
        key = RegKey();
        key.key_ = raw;
    }
    return status;
}

LSTATUS RegKey::Create(HKEY root, const std::wstring& path, RegKey& key) {
    HKEY raw = nullptr;
    const LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_READ | KEY_WRITE, nullptr, &raw, nullptr);
    if (status == ERROR_SUCCESS) {
        key = RegKey();
        key.key_ = raw;
    }
    return status;
}

LSTATUS RegKey::SetString(const wchar_t* name, const std::wstring& value) const {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

LSTATUS RegKey::SetBinary(const wchar_t* name, const void* bytes, DWORD size) const {
    return RegSetValueExW(key_, name, 0, REG_BINARY, static_cast<const BYTE*>(bytes), size);
}

LSTATUS RegKey::DeleteValue(const wchar_t* name) const { return RegDeleteValueW(key_, name); }

std::optional<std::wstring> RegKey::GetString(const wchar_t* name) const {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    // The stored text may or may not carry its terminating zero.
    text.resize(size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

std::optional<std::vector<BYTE>> RegKey::GetBinary(const wchar_t* name) const {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_BINARY) {
        return std::nullopt;
    }
    std::vector<BYTE> bytes(size);
    if (RegQueryValueExW(key_, name, nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) return std::nullopt;
    bytes.resize(size);
    return bytes;
}

std::vector<std::wstring> RegKey::SubkeyNames() const {
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

LSTATUS DeleteKeyTree(HKEY root, const std::wstring& path) {
    const LSTATUS status = RegDeleteTreeW(root, path.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        // RegDeleteTreeW empties the key; the key itself goes separately.
        const LSTATUS removed = RegDeleteKeyW(root, path.c_str());
        return removed == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : removed;
    }
    return status;
}

std::string WithWin32Error(const std::string& text, DWORD code) {
    return text + " (error " + std::to_string(code) + ")";
}

std::string WithHResult(const std::string& text, HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    return text + " (" + code + ")";
}

}  // namespace kv::sim::win32
