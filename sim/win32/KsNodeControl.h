// The interface through which a node plug-in learns its node and filter
// (binary layout as the platform's kernel-streaming proxy calls it).
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace kv::sim::win32 {

struct IKsNodeControl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE put_NodeId(DWORD nodeId) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_KsControl(PVOID ksControl) = 0;
};

}  // namespace kv::sim::win32
