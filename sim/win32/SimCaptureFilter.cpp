// The simulated filter's identity, lifetime and binding to a rig device.
#include "sim/win32/SimCaptureFilter.h"

#include <cstdio>
#include <new>

#include "platform/win32/ComValues.h"
#include "sim/win32/ServerLife.h"
#include "sim/win32/SimIds.h"
#include "sim/win32/StandInRig.h"

namespace kv::sim::win32 {

namespace {

// The rig index the installer wrote into the device's property bag.
HRESULT ReadDeviceIndex(IPropertyBag& bag, LONG& index) {
    platform::win32::Variant var;
    var.SetLong(0);  // asks for the number in this type
    HRESULT hr = bag.Read(kDeviceIndexProperty, var.get(), nullptr);
    if (SUCCEEDED(hr)) hr = VariantChangeType(var.get(), var.get(), 0, VT_I4);
    if (SUCCEEDED(hr)) index = (*var).lVal;
    return hr;
}

}  // namespace

SimCaptureFilter::SimCaptureFilter()
    : procAmp_(*Identity(), binding_, PropertyGroup::VideoProcAmp),
      cameraControl_(*Identity(), binding_, PropertyGroup::CameraControl),
      capturePin_(*this, SimVideoPin::Kind::Capture, video::DefaultFrameSizes()),
      stillPin_(*this, SimVideoPin::Kind::Still, video::DefaultFrameSizes()) {
    Server().ObjectCreated();
}

SimCaptureFilter::~SimCaptureFilter() { Server().ObjectDestroyed(); }

HRESULT SimCaptureFilter::Create(IUnknown* outer, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* filter = new (std::nothrow) SimCaptureFilter();
    if (filter == nullptr) return E_OUTOFMEMORY;
    // The first reference; a failed query lets the filter go with it.
    const Microsoft::WRL::ComPtr<IUnknown> holder(filter->Identity());
    return holder->QueryInterface(iid, out);
}

void* SimCaptureFilter::Face(REFIID iid) {
    if (iid == IID_IUnknown) return Identity();
    if (iid == IID_IPersist || iid == IID_IPersistPropertyBag) return static_cast<IPersistPropertyBag*>(this);
    if (refused_) return nullptr;
    if (iid == IID_IMediaFilter || iid == IID_IBaseFilter) return static_cast<IBaseFilter*>(this);
    return BoundFace(iid);
}

void* SimCaptureFilter::BoundFace(REFIID iid) {
    if (iid == kv::win::kIID_IKsControl) {
        return binding_.Offers("IKsControl") ? static_cast<kv::win::IKsControl*>(this) : nullptr;
    }
    if (iid == IID_IKsPropertySet) {
        return binding_.Offers("IKsPropertySet") ? static_cast<IKsPropertySet*>(this) : nullptr;
    }
    if (iid == kv::win::kIID_IKsTopologyInfo) {
        return binding_.Offers("IKsTopologyInfo") ? static_cast<kv::win::IKsTopologyInfo*>(this) : nullptr;
    }
    if (iid == IID_IAMVideoProcAmp) return binding_.Offers("IAMVideoProcAmp") ? &procAmp_ : nullptr;
    if (iid == IID_IAMCameraControl) return binding_.Offers("IAMCameraControl") ? &cameraControl_ : nullptr;
    if (iid == IID_IAMVideoControl) return binding_.Get() ? static_cast<IAMVideoControl*>(this) : nullptr;
    return nullptr;
}

HRESULT SimCaptureFilter::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = Face(iid);
    if (*out == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG SimCaptureFilter::AddRef() { return ++refs_; }

ULONG SimCaptureFilter::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT SimCaptureFilter::GetClassID(CLSID* classId) {
    if (classId == nullptr) return E_POINTER;
    *classId = kClsidSimCamera;
    return S_OK;
}

HRESULT SimCaptureFilter::InitNew() { return S_OK; }

HRESULT SimCaptureFilter::Load(IPropertyBag* bag, IErrorLog*) {
    if (bag == nullptr) return E_POINTER;
    LONG index = -1;
    HRESULT hr = ReadDeviceIndex(*bag, index);
    const auto rig = SUCCEEDED(hr) ? CurrentRig() : nullptr;
    if (FAILED(hr)) {
        std::fprintf(stderr, "kvsim: the device's property bag names no rig device; run \"kvsim install\"\n");
    } else if (!rig) {
        hr = E_FAIL;
    } else if (index < 0 || static_cast<std::size_t>(index) >= rig->DeviceCount()) {
        std::fprintf(stderr, "kvsim: %s has no device %ld; run \"kvsim install\" again\n", rig->file().string().c_str(),
                     static_cast<long>(index));
        hr = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
    } else if (rig->Device(static_cast<std::size_t>(index)).listing.bindFails) {
        // The rig's way of saying the device cannot be opened.
        hr = kHrBindFails;
    } else if (!binding_.Bind(rig, static_cast<std::size_t>(index))) {
        return E_UNEXPECTED;  // loaded before: keep the first binding
    }
    if (FAILED(hr)) refused_ = true;
    return hr;
}

HRESULT SimCaptureFilter::Save(IPropertyBag*, BOOL, BOOL) { return E_NOTIMPL; }

}  // namespace kv::sim::win32
