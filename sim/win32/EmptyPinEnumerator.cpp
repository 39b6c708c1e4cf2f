// IEnumPins over an empty pin list.
#include "sim/win32/EmptyPinEnumerator.h"

#include <new>

#include "sim/win32/SingleInterfaceObject.h"

namespace kv::sim::win32 {

namespace {

class EmptyPinEnumerator final : public SingleInterfaceObject<IEnumPins, IID_IEnumPins> {
public:
    EmptyPinEnumerator() : SingleInterfaceObject(1) {}  // handed out as a raw pointer

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin**, ULONG* fetched) override {
        if (fetched != nullptr) *fetched = 0;
        return count == 0 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return count == 0 ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumPins** copy) override { return CreateEmptyPinEnumerator(copy); }
};

}  // namespace

HRESULT CreateEmptyPinEnumerator(IEnumPins** pins) {
    if (pins == nullptr) return E_POINTER;
    *pins = new (std::nothrow) EmptyPinEnumerator();
    return *pins != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace kv::sim::win32
