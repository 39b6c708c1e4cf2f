// Binary declarations of the kernel-streaming COM interfaces that the
// toolchain's headers lack or declare only for kernel-mode builds. Their
// vtable layouts are the platform's contracts; the simulated capture filter
// implements the same declarations.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace kv::win {

// {28F54685-06FD-11D2-B27A-00A0C9223196}
inline constexpr GUID kIID_IKsControl = {0x28F54685, 0x06FD, 0x11D2, {0xB2, 0x7A, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
// {720D4AC0-7533-11D0-A5D6-28DB04C10000}
inline constexpr GUID kIID_IKsTopologyInfo = {
    0x720D4AC0, 0x7533, 0x11D0, {0xA5, 0xD6, 0x28, 0xDB, 0x04, 0xC1, 0x00, 0x00}};

struct IKsControl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE KsProperty(void* property, ULONG propertyLength, void* propertyData,
                                                 ULONG dataLength, ULONG* bytesReturned) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsMethod(void* method, ULONG methodLength, void* methodData, ULONG dataLength,
                                               ULONG* bytesReturned) = 0;
    virtual HRESULT STDMETHODCALLTYPE KsEvent(void* event, ULONG eventLength, void* eventData, ULONG dataLength,
                                              ULONG* bytesReturned) = 0;
};

// The node plug-in's interfaces (zelunit), as its type library declares them.
// {A0432DA0-A887-45F8-B28B-6693C6B9E619}
inline constexpr GUID kCLSID_ExtensionUnit = {
    0xA0432DA0, 0xA887, 0x45F8, {0xB2, 0x8B, 0x66, 0x93, 0xC6, 0xB9, 0xE6, 0x19}};
// {6E92B5C0-4D8A-402A-B56C-D2D292E0233B}
inline constexpr GUID kIID_IExtensionUnit = {
    0x6E92B5C0, 0x4D8A, 0x402A, {0xB5, 0x6C, 0xD2, 0xD2, 0x92, 0xE0, 0x23, 0x3B}};

struct IExtensionUnit : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_InfoSize(ULONG* size) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Info(ULONG size, BYTE* info) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PropertySize(ULONG propertyId, ULONG* size) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Property(ULONG propertyId, ULONG size, BYTE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Property(ULONG propertyId, ULONG size, BYTE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE is_Ready(ULONG* ready) = 0;
    virtual HRESULT STDMETHODCALLTYPE SwitchHandle(ULONG deviceNumber) = 0;
    virtual HRESULT STDMETHODCALLTYPE end() = 0;
};

struct KsTopologyConnection {
    ULONG fromNode;
    ULONG fromNodePin;
    ULONG toNode;
    ULONG toNodePin;
};

struct IKsTopologyInfo : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_NumCategories(DWORD* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Category(DWORD index, GUID* category) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NumConnections(DWORD* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ConnectionInfo(DWORD index, KsTopologyConnection* connection) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NodeName(DWORD node, WCHAR* name, DWORD bufferSize, DWORD* nameLength) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NumNodes(DWORD* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NodeType(DWORD node, GUID* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateNodeInstance(DWORD node, REFIID iid, void** object) = 0;
};

}  // namespace kv::win
