// The simulated filter as a member of a filter graph: run state (which
// starts and stops its pins' streaming), reference clock, pins and filter
// information.
#include <algorithm>
#include <cwchar>

#include "sim/win32/PinEnumerator.h"
#include "sim/win32/SimCaptureFilter.h"
#include "sim/win32/SimIds.h"

namespace kv::sim::win32 {

// The pins' threads are started and ended outside the filter's lock: a
// streaming thread may be inside the graph, which may call the filter.
HRESULT SimCaptureFilter::Stop() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        state_ = State_Stopped;
    }
    for (SimVideoPin* pin : {&capturePin_, &stillPin_}) pin->Deactivate();
    return S_OK;
}

HRESULT SimCaptureFilter::Pause() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        state_ = State_Paused;
    }
    for (SimVideoPin* pin : {&capturePin_, &stillPin_}) {
        pin->Activate();
        pin->SetRunning(false);
    }
    return S_OK;
}

HRESULT SimCaptureFilter::Run(REFERENCE_TIME) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        state_ = State_Running;
    }
    for (SimVideoPin* pin : {&capturePin_, &stillPin_}) {
        pin->Activate();
        pin->SetRunning(true);
    }
    return S_OK;
}

HRESULT SimCaptureFilter::GetState(DWORD, FILTER_STATE* state) {
    if (state == nullptr) return E_POINTER;
    const std::lock_guard<std::mutex> lock(mutex_);
    *state = state_;
    // A live source sends nothing while paused: the graph must not wait for
    // its renderers to receive a first frame before running.
    return state_ == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

HRESULT SimCaptureFilter::SetSyncSource(IReferenceClock* clock) {
    const std::lock_guard<std::mutex> lock(mutex_);
    clock_ = clock;
    return S_OK;
}

HRESULT SimCaptureFilter::GetSyncSource(IReferenceClock** clock) {
    if (clock == nullptr) return E_POINTER;
    const std::lock_guard<std::mutex> lock(mutex_);
    Microsoft::WRL::ComPtr<IReferenceClock> copy = clock_;
    *clock = copy.Detach();
    return S_OK;
}

HRESULT SimCaptureFilter::EnumPins(IEnumPins** pins) { return CreatePinEnumerator({&capturePin_, &stillPin_}, pins); }

HRESULT SimCaptureFilter::FindPin(LPCWSTR id, IPin** pin) {
    if (pin == nullptr) return E_POINTER;
    *pin = nullptr;
    if (id == nullptr) return E_POINTER;
    for (SimVideoPin* own : {&capturePin_, &stillPin_}) {
        if (std::wcscmp(id, own->Name()) == 0) {
            *pin = own;
            own->AddRef();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

HRESULT SimCaptureFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (info == nullptr) return E_POINTER;
    const std::lock_guard<std::mutex> lock(mutex_);
    const std::wstring& name = graphName_.empty() ? std::wstring(kSimCameraName) : graphName_;
    const std::size_t length = std::min<std::size_t>(name.size(), std::size(info->achName) - 1);
    std::wmemcpy(info->achName, name.c_str(), length);
    info->achName[length] = L'\0';
    info->pGraph = graph_;
    if (graph_ != nullptr) graph_->AddRef();  // the caller releases it
    return S_OK;
}

HRESULT SimCaptureFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    const std::lock_guard<std::mutex> lock(mutex_);
    graph_ = graph;
    graphName_ = (graph != nullptr && name != nullptr) ? name : L"";
    return S_OK;
}

HRESULT SimCaptureFilter::QueryVendorInfo(LPWSTR* vendorInfo) {
    if (vendorInfo == nullptr) return E_POINTER;
    *vendorInfo = nullptr;
    return E_NOTIMPL;
}

}  // namespace kv::sim::win32
