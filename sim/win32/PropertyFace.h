// IAMVideoProcAmp and IAMCameraControl of a simulated filter. The two share
// their method names and shapes, so each is a face object of its own whose
// identity and lifetime are the filter's.
#pragma once

#include <windows.h>
#include <dshow.h>

#include "sim/hw/CameraProperties.h"
#include "sim/win32/DeviceBinding.h"

namespace kv::sim::win32 {

template <class Interface>
class PropertyFace final : public Interface {
public:
    PropertyFace(IUnknown& owner, const DeviceBinding& binding, PropertyGroup group)
        : owner_(owner), binding_(binding), group_(group) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return owner_.QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }

    HRESULT STDMETHODCALLTYPE GetRange(long property, long* minimum, long* maximum, long* step, long* defaultValue,
                                       long* capsFlags) override {
        if (!minimum || !maximum || !step || !defaultValue || !capsFlags) return E_POINTER;
        PropertyRange range;
        const HRESULT hr =
            binding_.Ask([&](Session& s, std::size_t d) { return s.GetRange(d, group_, property, range); });
        if (SUCCEEDED(hr)) {
            *minimum = range.min;
            *maximum = range.max;
            *step = range.step;
            *defaultValue = range.def;
            *capsFlags = range.caps;
        }
        return hr;
    }

    HRESULT STDMETHODCALLTYPE Set(long property, long value, long flags) override {
        return binding_.Ask([&](Session& s, std::size_t d) { return s.Set(d, group_, property, value, flags); });
    }

    HRESULT STDMETHODCALLTYPE Get(long property, long* value, long* flags) override {
        if (!value || !flags) return E_POINTER;
        std::int32_t current = 0;
        std::int32_t currentFlags = 0;
        const HRESULT hr =
            binding_.Ask([&](Session& s, std::size_t d) { return s.Get(d, group_, property, current, currentFlags); });
        if (SUCCEEDED(hr)) {
            *value = current;
            *flags = currentFlags;
        }
        return hr;
    }

private:
    IUnknown& owner_;
    const DeviceBinding& binding_;
    PropertyGroup group_;
};

}  // namespace kv::sim::win32
