// The registry and type-library registration through the wide Reg* calls and
// OLE Automation, and the module's path and registry script. Names and texts
// arrive in UTF-8 and are widened here, so that a module installed in a
// folder outside the ANSI code page is registered under its real path.
#include "plugin/win32/Win32Registration.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <vector>

namespace kv::plugin::win32 {

namespace {

constexpr WORD kScriptResource = 101;

HKEY RootHandle(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RootKey::CurrentUser: return HKEY_CURRENT_USER;
        case RootKey::LocalMachine: break;
    }
    return HKEY_LOCAL_MACHINE;
}

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : m_key(key) {}
    ~Win32RegistryKey() override { RegCloseKey(m_key); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    // Stored with its terminating zero, so that every reader gets a
    // terminated text.
    long SetString(const std::string& name, const std::string& value) override {
        const std::wstring wide = Widen(value);
        return Set(name, REG_SZ, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    }
    long SetBinary(const std::string& name, std::span<const std::uint8_t> bytes) override {
        return Set(name, REG_BINARY, bytes.data(), bytes.size());
    }
    long SetDword(const std::string& name, std::uint32_t value) override {
        const DWORD data = value;
        return Set(name, REG_DWORD, &data, sizeof data);
    }
    long DeleteValue(const std::string& name) override { return RegDeleteValueW(m_key, Widen(name).c_str()); }
    long ReadBinary(const std::string& name, std::vector<std::uint8_t>& bytes) override {
        const std::wstring wideName = Widen(name);
        DWORD size = 0;
        long error = RegQueryValueExW(m_key, wideName.c_str(), nullptr, nullptr, nullptr, &size);
        if (error != ERROR_SUCCESS) return error;
        bytes.resize(size);
        error = RegQueryValueExW(m_key, wideName.c_str(), nullptr, nullptr, bytes.data(), &size);
        bytes.resize(error == ERROR_SUCCESS ? size : 0);
        return error;
    }

private:
    long Set(const std::string& name, DWORD type, const void* data, std::size_t size) {
        return RegSetValueExW(m_key, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                              static_cast<DWORD>(size));
    }

    HKEY m_key;
};

class Win32Registry final : public Registry {
public:
    long CreateKey(RootKey root, const std::string& path, std::unique_ptr<RegistryKey>& key, bool& created) override {
        HKEY handle = nullptr;
        DWORD disposition = 0;
        const long error = RegCreateKeyExW(RootHandle(root), Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, &handle,
                                           &disposition);
        if (error != ERROR_SUCCESS) return error;
        created = disposition == REG_CREATED_NEW_KEY;
        key = std::make_unique<Win32RegistryKey>(handle);
        return ERROR_SUCCESS;
    }
    long OpenKey(RootKey root, const std::string& path, std::unique_ptr<RegistryKey>& key) override {
        HKEY handle = nullptr;
        const long error = RegOpenKeyExW(RootHandle(root), Widen(path).c_str(), 0, KEY_READ | KEY_SET_VALUE, &handle);
        if (error == ERROR_SUCCESS) key = std::make_unique<Win32RegistryKey>(handle);
        return error;
    }
    long DeleteTree(RootKey root, const std::string& path) override {
        return RegDeleteTreeW(RootHandle(root), Widen(path).c_str());
    }
};

class Win32TypeLibrary final : public TypeLibrary {
public:
    explicit Win32TypeLibrary(std::wstring modulePath) : m_path(std::move(modulePath)) {}

    platform::HResult Register() override {
        Microsoft::WRL::ComPtr<ITypeLib> library;
        HRESULT hr = LoadTypeLibEx(m_path.c_str(), REGKIND_NONE, library.GetAddressOf());
        // The call takes the path as writable; it only reads it.
        if (SUCCEEDED(hr)) hr = RegisterTypeLib(library.Get(), const_cast<OLECHAR*>(m_path.c_str()), nullptr);
        return hr;
    }
    platform::HResult Unregister() override {
        Microsoft::WRL::ComPtr<ITypeLib> library;
        HRESULT hr = LoadTypeLibEx(m_path.c_str(), REGKIND_NONE, library.GetAddressOf());
        if (FAILED(hr)) return hr;
        TLIBATTR* attributes = nullptr;
        if (FAILED(hr = library->GetLibAttr(&attributes))) return hr;
        hr = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                               attributes->lcid, attributes->syskind);
        library->ReleaseTLibAttr(attributes);
        return hr;
    }

private:
    std::wstring m_path;
};

}  // namespace

std::unique_ptr<Registry> MakeWin32Registry() { return std::make_unique<Win32Registry>(); }

std::unique_ptr<TypeLibrary> MakeWin32TypeLibrary(const std::wstring& modulePath) {
    return std::make_unique<Win32TypeLibrary>(modulePath);
}

std::optional<std::wstring> ModulePath(HMODULE module) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::string> RegistryScriptResource(HMODULE module) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kScriptResource), L"REGISTRY");
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return std::nullopt;
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, found));
}

std::string Narrow(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(), size, nullptr,
                            nullptr);
    }
    return narrow;
}

std::wstring Widen(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

}  // namespace kv::plugin::win32
