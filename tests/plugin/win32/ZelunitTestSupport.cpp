// The shared parts of zelunit.dll's Wine tests.
#include "tests/plugin/win32/ZelunitTestSupport.h"

#include <cstring>

namespace kv::plugin::test {

std::filesystem::path ZelunitPath() { return kv::sim::win32::test::BuildProduct(KV_TEST_ZELUNIT); }

Zelunit::Zelunit() : library(ZelunitPath()) {}

HRESULT Zelunit::RegisterServer() const { return library.As<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer")(); }

HRESULT Zelunit::UnregisterServer() const { return library.As<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer")(); }

HRESULT Zelunit::CanUnloadNow() const { return library.As<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow")(); }

HRESULT Zelunit::ClassFactory(ComPtr<IClassFactory>& factory) const {
    const auto get = library.As<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    return get(kCLSID_ExtensionUnit, IID_IClassFactory, reinterpret_cast<void**>(factory.ReleaseAndGetAddressOf()));
}

ComPtr<IExtensionUnit> Zelunit::FreshUnit() const {
    ComPtr<IClassFactory> factory;
    ComPtr<IExtensionUnit> unit;
    if (SUCCEEDED(ClassFactory(factory))) {
        factory->CreateInstance(nullptr, kIID_IExtensionUnit, reinterpret_cast<void**>(unit.GetAddressOf()));
    }
    if (unit) unit->end();
    return unit;
}

std::string RegistryValue::Text() const {
    const auto* text = reinterpret_cast<const char*>(bytes.data());
    std::size_t length = 0;
    while (length < bytes.size() && text[length] != '\0') ++length;
    return std::string(text, length);
}

DWORD RegistryValue::Dword() const {
    DWORD value = 0;
    if (bytes.size() == sizeof value) std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

std::optional<RegistryValue> ReadValue(HKEY root, const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    RegistryValue value;
    DWORD size = 0;
    LONG error = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (error == ERROR_SUCCESS) {
        value.bytes.resize(size);
        error = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, value.bytes.data(), &size);
    }
    RegCloseKey(key);
    if (error != ERROR_SUCCESS) return std::nullopt;
    return value;
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

HRESULT FakeKsControl::QueryInterface(REFIID iid, void** out) {
    if (iid != IID_IUnknown && iid != kv::win::kIID_IKsControl) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<kv::win::IKsControl*>(this);
    AddRef();
    return S_OK;
}

HRESULT FakeKsControl::KsProperty(void* property, ULONG propertyLength, void*, ULONG dataLength, ULONG* returned) {
    const auto* bytes = static_cast<const BYTE*>(property);
    properties.emplace_back(bytes, bytes + propertyLength);
    if (dataLength != 0) return S_OK;
    if (returned != nullptr) *returned = size;
    return HRESULT_FROM_WIN32(ERROR_MORE_DATA);
}

HRESULT FakeOuter::QueryInterface(REFIID iid, void** out) {
    if (iid == IID_IUnknown) {
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return inner ? inner->QueryInterface(iid, out) : E_NOINTERFACE;
}

}  // namespace kv::plugin::test
