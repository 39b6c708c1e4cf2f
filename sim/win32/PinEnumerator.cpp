// IEnumPins over a fixed list of pins.
#include "sim/win32/PinEnumerator.h"

#include <wrl/client.h>

#include <new>

#include "sim/win32/SingleInterfaceObject.h"

namespace kv::sim::win32 {

namespace {

class PinEnumerator final : public SingleInterfaceObject<IEnumPins, IID_IEnumPins> {
public:
    PinEnumerator(const std::vector<IPin*>& pins, std::size_t position)
        : SingleInterfaceObject(1), pins_(pins.begin(), pins.end()), position_(position) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin** out, ULONG* fetched) override {
        if (out == nullptr) return E_POINTER;
        ULONG given = 0;
        for (; given < count && position_ < pins_.size(); ++given, ++position_) {
            out[given] = pins_[position_].Get();
            out[given]->AddRef();
        }
        if (fetched != nullptr) *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const std::size_t left = pins_.size() - position_;
        position_ += std::min<std::size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumPins** copy) override {
        if (copy == nullptr) return E_POINTER;
        std::vector<IPin*> raw;
        for (const auto& pin : pins_) raw.push_back(pin.Get());
        *copy = new (std::nothrow) PinEnumerator(raw, position_);
        return *copy != nullptr ? S_OK : E_OUTOFMEMORY;
    }

private:
    std::vector<Microsoft::WRL::ComPtr<IPin>> pins_;
    std::size_t position_;
};

}  // namespace

HRESULT CreatePinEnumerator(const std::vector<IPin*>& pins, IEnumPins** out) {
    if (out == nullptr) return E_POINTER;
    *out = new (std::nothrow) PinEnumerator(pins, 0);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace kv::sim::win32
