// IClassFactory for the simulated capture filter.
#include "sim/win32/ClassFactory.h"

#include <wrl/client.h>

#include <atomic>
#include <new>

#include "sim/win32/ServerLife.h"
#include "sim/win32/SimFilter.h"

namespace kv::sim::win32 {

namespace {

class SimFilterFactory final : public IClassFactory {
public:
    SimFilterFactory() { ObjectCreated(); }
    ~SimFilterFactory() { ObjectDestroyed(); }
    SimFilterFactory(const SimFilterFactory&) = delete;
    SimFilterFactory& operator=(const SimFilterFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = (iid == IID_IUnknown || iid == IID_IClassFactory) ? static_cast<IClassFactory*>(this) : nullptr;
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
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        return SimFilter::Create(outer, iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        kv::sim::win32::LockServer(lock != FALSE);
        return S_OK;
    }

private:
    std::atomic<ULONG> refs_{0};  // the creator's smart pointer takes the first
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
