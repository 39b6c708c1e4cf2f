// IClassFactory for the simulated capture filter.
#include "sim/win32/ClassFactory.h"

#include <wrl/client.h>

#include <new>

#include "sim/win32/ServerLife.h"
#include "sim/win32/SimFilter.h"
#include "sim/win32/SingleInterfaceObject.h"

namespace kv::sim::win32 {

namespace {

class SimFilterFactory final : public SingleInterfaceObject<IClassFactory, IID_IClassFactory> {
public:
    SimFilterFactory() : SingleInterfaceObject(0) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        return SimFilter::Create(outer, iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        kv::sim::win32::LockServer(lock != FALSE);
        return S_OK;
    }
};

}  // namespace

HRESULT GetSimFilterClassObject(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    auto* factory = new (std::nothrow) SimFilterFactory();
    if (factory == nullptr) return E_OUTOFMEMORY;
    const Microsoft::WRL::ComPtr<IClassFactory> holder(factory);
    return holder->QueryInterface(iid, out);
}

}  // namespace kv::sim::win32
