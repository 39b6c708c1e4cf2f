// IEnumPins over an empty pin list.
#include "sim/win32/EmptyPinEnumerator.h"

#include <atomic>
#include <new>

#include "sim/win32/ServerLife.h"

namespace kv::sim::win32 {

namespace {

class EmptyPinEnumerator final : public IEnumPins {
public:
    EmptyPinEnumerator() { ObjectCreated(); }
    ~EmptyPinEnumerator() { ObjectDestroyed(); }
    EmptyPinEnumerator(const EmptyPinEnumerator&) = delete;
    EmptyPinEnumerator& operator=(const EmptyPinEnumerator&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = (iid == IID_IUnknown || iid == IID_IEnumPins) ? static_cast<IEnumPins*>(this) : nullptr;
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

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin**, ULONG* fetched) override {
        if (fetched != nullptr) *fetched = 0;
        return count == 0 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return count == 0 ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumPins** copy) override { return CreateEmptyPinEnumerator(copy); }

private:
    std::atomic<ULONG> refs_{1};
};

}  // namespace

HRESULT CreateEmptyPinEnumerator(IEnumPins** pins) {
    if (pins == nullptr) return E_POINTER;
    *pins = new (std::nothrow) EmptyPinEnumerator();
    return *pins != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace kv::sim::win32
