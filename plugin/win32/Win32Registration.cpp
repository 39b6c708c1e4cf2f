// The type-library registration through OLE Automation, and the module's
// path and registry script. The registry itself goes through the platform's
// adapter.
#include "plugin/win32/Win32Registration.h"

#include <oleauto.h>
#include <wrl/client.h>

namespace kv::plugin::win32 {

namespace {

constexpr WORD kScriptResource = 101;

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
        hr = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                               attributes->syskind);
        library->ReleaseTLibAttr(attributes);
        return hr;
    }

private:
    std::wstring m_path;
};

}  // namespace

std::unique_ptr<TypeLibrary> MakeWin32TypeLibrary(const std::wstring& modulePath) {
    return std::make_unique<Win32TypeLibrary>(modulePath);
}

std::optional<std::string> RegistryScriptResource(HMODULE module) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kScriptResource), L"REGISTRY");
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return std::nullopt;
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, found));
}

}  // namespace kv::plugin::win32
