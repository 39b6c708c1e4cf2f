// CExtensionUnit's COM faces over ExtensionUnitCore.
#include "plugin/win32/ExtensionUnit.h"

#include <new>

#include "platform/win32/KsInterfaces.h"
#include "platform/win32/ModuleFile.h"
#include "plugin/win32/Win32Registration.h"

namespace kv::plugin::win32 {

namespace {

using Microsoft::WRL::ComPtr;

// The filter's IKsControl as the core's port.
class KsControlPort final : public platform::KsControl {
public:
    explicit KsControlPort(ComPtr<kv::win::IKsControl> control) : m_control(std::move(control)) {}
    platform::HResult KsProperty(const void* property, std::uint32_t propertyLength, void* data,
                                 std::uint32_t dataLength, std::uint32_t* bytesReturned) override {
        ULONG returned = 0;
        const HRESULT hr =
            m_control->KsProperty(const_cast<void*>(property), propertyLength, data, dataLength, &returned);
        if (bytesReturned != nullptr) *bytesReturned = returned;
        return hr;
    }

private:
    ComPtr<kv::win::IKsControl> m_control;
};

// The core counts in 32-bit words; ULONG is the same size but another type.
template <class Call>
HRESULT WithSize(ULONG* size, Call call) {
    if (size == nullptr) return call(nullptr);
    std::uint32_t value = *size;
    const HRESULT hr = call(&value);
    *size = value;
    return hr;
}

}  // namespace

HRESULT CExtensionUnit::Create(IUnknown* outer, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    auto* object = new (std::nothrow) CExtensionUnit(outer);
    if (object == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = object->m_inner.QueryInterface(iid, out);
    object->m_inner.Release();
    return hr;
}

CExtensionUnit::CExtensionUnit(IUnknown* outer) : m_controlling(outer != nullptr ? outer : &m_inner) {
    Server().ObjectCreated();
}

CExtensionUnit::~CExtensionUnit() { Server().ObjectDestroyed(); }

HRESULT CExtensionUnit::Inner::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown) {
        // Aggregated, the outer object must get this very unknown; plain,
        // the object's identity is its first interface.
        const bool aggregated = owner.m_controlling != this;
        *out = aggregated ? static_cast<IUnknown*>(this) : static_cast<IUnknown*>(&owner.m_nodeControl);
    } else if (iid == IID_IKsNodeControl) {
        *out = static_cast<IKsNodeControl*>(&owner.m_nodeControl);
    } else if (iid == IID_IExtensionUnit) {
        *out = static_cast<IExtensionUnit*>(&owner.m_unit);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
}

ULONG CExtensionUnit::Inner::AddRef() { return ++owner.m_refs; }

ULONG CExtensionUnit::Inner::Release() {
    const ULONG left = --owner.m_refs;
    if (left == 0) delete &owner;
    return left;
}

HRESULT CExtensionUnit::NodeControl::QueryInterface(REFIID iid, void** out) {
    return owner.m_controlling->QueryInterface(iid, out);
}
ULONG CExtensionUnit::NodeControl::AddRef() { return owner.m_controlling->AddRef(); }
ULONG CExtensionUnit::NodeControl::Release() { return owner.m_controlling->Release(); }

HRESULT CExtensionUnit::NodeControl::put_NodeId(DWORD nodeId) { return owner.m_core.put_NodeId(nodeId); }

// The result is the query's, as the proxy expects; a full list is refused
// before anything changes.
HRESULT CExtensionUnit::NodeControl::put_KsControl(void* ksControl) {
    if (ksControl == nullptr) return E_POINTER;
    ComPtr<kv::win::IKsControl> control;
    const HRESULT queried = static_cast<IUnknown*>(ksControl)->QueryInterface(
        kv::win::kIID_IKsControl, reinterpret_cast<void**>(control.GetAddressOf()));
    std::shared_ptr<platform::KsControl> port;
    if (SUCCEEDED(queried) && control) port = std::make_shared<KsControlPort>(std::move(control));
    const HRESULT added = owner.m_core.put_KsControl(std::move(port));
    return added == kControlListFull ? added : queried;
}

HRESULT CExtensionUnit::Unit::QueryInterface(REFIID iid, void** out) {
    return owner.m_controlling->QueryInterface(iid, out);
}
ULONG CExtensionUnit::Unit::AddRef() { return owner.m_controlling->AddRef(); }
ULONG CExtensionUnit::Unit::Release() { return owner.m_controlling->Release(); }

HRESULT CExtensionUnit::Unit::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT CExtensionUnit::Unit::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* loaded = nullptr;
    const HRESULT hr = owner.TypeInfo(loaded);
    if (FAILED(hr)) return hr;
    loaded->AddRef();
    *info = loaded;
    return S_OK;
}

HRESULT CExtensionUnit::Unit::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = nullptr;
    const HRESULT hr = owner.TypeInfo(info);
    return FAILED(hr) ? hr : DispGetIDsOfNames(info, names, count, ids);
}

HRESULT CExtensionUnit::Unit::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* badArgument) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = nullptr;
    const HRESULT hr = owner.TypeInfo(info);
    if (FAILED(hr)) return hr;
    return DispInvoke(static_cast<IExtensionUnit*>(this), info, id, flags, params, result, exception, badArgument);
}

HRESULT CExtensionUnit::Unit::get_InfoSize(ULONG* size) {
    return WithSize(size, [&](std::uint32_t* value) { return owner.m_core.get_InfoSize(value); });
}

HRESULT CExtensionUnit::Unit::get_Info(ULONG size, BYTE* info) { return owner.m_core.get_Info(size, info); }

HRESULT CExtensionUnit::Unit::get_PropertySize(ULONG id, ULONG* size) {
    return WithSize(size, [&](std::uint32_t* value) { return owner.m_core.get_PropertySize(id, value); });
}

HRESULT CExtensionUnit::Unit::get_Property(ULONG id, ULONG size, BYTE* value) {
    return owner.m_core.get_Property(id, size, value);
}

HRESULT CExtensionUnit::Unit::put_Property(ULONG id, ULONG size, BYTE* value) {
    return owner.m_core.put_Property(id, size, value);
}

HRESULT CExtensionUnit::Unit::is_Ready(ULONG* ready) {
    return WithSize(ready, [&](std::uint32_t* value) { return owner.m_core.is_Ready(value); });
}

HRESULT CExtensionUnit::Unit::SwitchHandle(ULONG deviceNumber) { return owner.m_core.SwitchHandle(deviceNumber); }

HRESULT CExtensionUnit::Unit::end() { return owner.m_core.end(); }

HRESULT CExtensionUnit::TypeInfo(ITypeInfo*& info) {
    if (!m_typeInfo) {
        const auto path = platform::win32::ModuleFileName(Module());
        if (!path) return E_UNEXPECTED;
        ComPtr<ITypeLib> library;
        HRESULT hr = LoadTypeLibEx(path->c_str(), REGKIND_NONE, library.GetAddressOf());
        if (SUCCEEDED(hr)) hr = library->GetTypeInfoOfGuid(IID_IExtensionUnit, m_typeInfo.GetAddressOf());
        if (FAILED(hr)) return hr;
    }
    info = m_typeInfo.Get();
    return S_OK;
}

}  // namespace kv::plugin::win32
