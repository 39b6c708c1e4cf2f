// Small owning wrappers over the registry calls the simulator's Windows
// parts make.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace kv::sim::win32 {

class RegKey {
public:
    RegKey() = default;
    ~RegKey();
    RegKey(RegKey&& other) noexcept;
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // ERROR_SUCCESS or the Win32 error; the key stays closed on failure.
    static LSTATUS Open(HKEY root, const std::wstring& path, REGSAM access, RegKey& key);
    static LSTATUS Create(HKEY root, const std::wstring& path, RegKey& key);

    HKEY get() const { return key_; }
    bool IsOpen() const { return key_ != nullptr; }

    // name null or empty: the key's default value.
    LSTATUS SetString(const wchar_t* name, const std::wstring& value) const;
    LSTATUS SetBinary(const wchar_t* name, const void* bytes, DWORD size) const;
    LSTATUS DeleteValue(const wchar_t* name) const;
    // Nothing when the value is missing or not a string.
    std::optional<std::wstring> GetString(const wchar_t* name) const;
    std::optional<std::vector<BYTE>> GetBinary(const wchar_t* name) const;
    std::vector<std::wstring> SubkeyNames() const;

private:
    HKEY key_ = nullptr;
};

// Removes the key and everything under it; a missing key is no error.
LSTATUS DeleteKeyTree(HKEY root, const std::wstring& path);

// "text (error N)" and "text (0xXXXXXXXX)" for messages.
std::string WithWin32Error(const std::string& text, DWORD code);
std::string WithHResult(const std::string& text, HRESULT hr);

}  // namespace kv::sim::win32
