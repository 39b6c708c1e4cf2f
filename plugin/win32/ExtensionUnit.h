// CExtensionUnit: the COM class around ExtensionUnitCore. It can be made
// plain or aggregated (the kernel-streaming proxy aggregates node plug-ins),
// so the object's own unknown is kept apart from the faces, which delegate
// to whichever unknown controls the object.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <atomic>

#include "platform/win32/ComServer.h"
#include "plugin/ExtensionUnitCore.h"
#include "zelunit.h"

namespace kv::plugin::win32 {

// Live objects and server locks of zelunit.dll, for DllCanUnloadNow.
platform::win32::ServerLife& Server();

// The module, for its type library resource.
void SetModule(HMODULE module);
HMODULE Module();

class CExtensionUnit {
public:
    // IClassFactory::CreateInstance's contract: an outer object may only
    // ask for IUnknown (CLASS_E_NOAGGREGATION otherwise).
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

private:
    explicit CExtensionUnit(IUnknown* outer);
    ~CExtensionUnit();
    CExtensionUnit(const CExtensionUnit&) = delete;
    CExtensionUnit& operator=(const CExtensionUnit&) = delete;

    // The non-delegating unknown: the object's own identity and count.
    struct Inner final : public IUnknown {
        explicit Inner(CExtensionUnit& object) : owner(object) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        CExtensionUnit& owner;
    };

    struct NodeControl final : public IKsNodeControl {
        explicit NodeControl(CExtensionUnit& object) : owner(object) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE put_NodeId(DWORD nodeId) override;
        HRESULT STDMETHODCALLTYPE put_KsControl(void* ksControl) override;
        CExtensionUnit& owner;
    };

    struct Unit final : public IExtensionUnit {
        explicit Unit(CExtensionUnit& object) : owner(object) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                                DISPID* ids) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                         VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override;
        HRESULT STDMETHODCALLTYPE get_InfoSize(ULONG* size) override;
        HRESULT STDMETHODCALLTYPE get_Info(ULONG size, BYTE* info) override;
        HRESULT STDMETHODCALLTYPE get_PropertySize(ULONG id, ULONG* size) override;
        HRESULT STDMETHODCALLTYPE get_Property(ULONG id, ULONG size, BYTE* value) override;
        HRESULT STDMETHODCALLTYPE put_Property(ULONG id, ULONG size, BYTE* value) override;
        HRESULT STDMETHODCALLTYPE is_Ready(ULONG* ready) override;
        HRESULT STDMETHODCALLTYPE SwitchHandle(ULONG deviceNumber) override;
        HRESULT STDMETHODCALLTYPE end() override;
        CExtensionUnit& owner;
    };

    // The type information of IExtensionUnit, from the module's type
    // library, loaded at the first IDispatch call.
    HRESULT TypeInfo(ITypeInfo*& info);

    std::atomic<ULONG> m_refs{1};
    Inner m_inner{*this};
    NodeControl m_nodeControl{*this};
    Unit m_unit{*this};
    IUnknown* m_controlling;  // the outer object, or m_inner
    ExtensionUnitCore m_core;
    Microsoft::WRL::ComPtr<ITypeInfo> m_typeInfo;
};

}  // namespace kv::plugin::win32
