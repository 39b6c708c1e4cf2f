// The IUnknown of a simulator COM object that offers one interface besides
// IUnknown: its reference count and its share in the server's object count.
#pragma once

#include <windows.h>

#include <atomic>

#include "sim/win32/ServerLife.h"

namespace kv::sim::win32 {

template <class Interface, const IID& kInterfaceId>
class SingleInterfaceObject : public Interface {
public:
    SingleInterfaceObject(const SingleInterfaceObject&) = delete;
    SingleInterfaceObject& operator=(const SingleInterfaceObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = (iid == IID_IUnknown || iid == kInterfaceId) ? static_cast<Interface*>(this) : nullptr;
        if (*out == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    // `references`: 0 when the creator's smart pointer takes the first one,
    // 1 when the creator hands the new object out as a raw pointer.
    explicit SingleInterfaceObject(ULONG references) : refs_(references) { Server().ObjectCreated(); }
    virtual ~SingleInterfaceObject() { Server().ObjectDestroyed(); }

private:
    std::atomic<ULONG> refs_;
};

}  // namespace kv::sim::win32
