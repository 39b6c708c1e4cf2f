// The simulated filter's IAMVideoControl: the still pin takes the trigger
// mode, and each trigger makes it deliver one frame.
#include "sim/win32/SimCaptureFilter.h"

namespace kv::sim::win32 {

SimVideoPin* SimCaptureFilter::OwnPin(IPin* pin) {
    if (pin == static_cast<IPin*>(&capturePin_)) return &capturePin_;
    if (pin == static_cast<IPin*>(&stillPin_)) return &stillPin_;
    return nullptr;
}

HRESULT SimCaptureFilter::GetCaps(IPin* pin, long* flags) {
    if (flags == nullptr) return E_POINTER;
    SimVideoPin* own = OwnPin(pin);
    if (own == nullptr) return E_INVALIDARG;
    *flags = own == &stillPin_ ? VideoControlFlag_Trigger | VideoControlFlag_ExternalTriggerEnable : 0;
    return S_OK;
}

HRESULT SimCaptureFilter::SetMode(IPin* pin, long mode) {
    SimVideoPin* own = OwnPin(pin);
    if (own == nullptr) return E_INVALIDARG;
    if (own != &stillPin_) return mode == 0 ? S_OK : E_INVALIDARG;
    // The trigger is an action, not a lasting mode.
    stillMode_ = mode & ~static_cast<long>(VideoControlFlag_Trigger);
    if (mode & VideoControlFlag_Trigger) stillPin_.Trigger();
    return S_OK;
}

HRESULT SimCaptureFilter::GetMode(IPin* pin, long* mode) {
    if (mode == nullptr) return E_POINTER;
    SimVideoPin* own = OwnPin(pin);
    if (own == nullptr) return E_INVALIDARG;
    *mode = own == &stillPin_ ? stillMode_.load() : 0;
    return S_OK;
}

HRESULT SimCaptureFilter::GetCurrentActualFrameRate(IPin* pin, LONGLONG* frameTime) {
    if (frameTime == nullptr) return E_POINTER;
    if (OwnPin(pin) == nullptr) return E_INVALIDARG;
    *frameTime = video::kFrameTime;
    return S_OK;
}

HRESULT SimCaptureFilter::GetMaxAvailableFrameRate(IPin* pin, long, SIZE, LONGLONG* frameTime) {
    return GetCurrentActualFrameRate(pin, frameTime);
}

HRESULT SimCaptureFilter::GetFrameRateList(IPin* pin, long, SIZE, long* count, LONGLONG** frameTimes) {
    if (count == nullptr) return E_POINTER;
    if (OwnPin(pin) == nullptr) return E_INVALIDARG;
    *count = 1;
    if (frameTimes == nullptr) return S_OK;  // only the count was asked for
    *frameTimes = static_cast<LONGLONG*>(CoTaskMemAlloc(sizeof(LONGLONG)));
    if (*frameTimes == nullptr) return E_OUTOFMEMORY;
    **frameTimes = video::kFrameTime;
    return S_OK;
}

}  // namespace kv::sim::win32
