// The simulated capture filter that kvsimcam.dll serves: one rig device seen
// through the interfaces a camera's kernel-streaming proxy offers.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <atomic>
#include <mutex>
#include <string>

#include "platform/win32/KsInterfaces.h"
#include "sim/win32/DeviceBinding.h"
#include "sim/win32/PropertyFace.h"
#include "sim/win32/SimVideoPin.h"

namespace kv::sim::win32 {

// Until the device moniker loads the filter from the device's property bag
// the filter is unbound: it answers IUnknown, IPersist, IPersistPropertyBag
// and IBaseFilter. Bound, it also answers IAMVideoControl and those of
// IKsControl, IKsPropertySet, IKsTopologyInfo, IAMVideoProcAmp and
// IAMCameraControl that the rig gives the device; the others answer
// E_NOINTERFACE. A filter whose load failed answers only IUnknown and the
// persistence interfaces. Its two output pins, capture and still, deliver
// the test pattern (SimVideoPin.h).
class SimCaptureFilter final : public IBaseFilter,
                               public IPersistPropertyBag,
                               public kv::win::IKsControl,
                               public IKsPropertySet,
                               public kv::win::IKsTopologyInfo,
                               public IAMVideoControl {
public:
    // For the class factory: a new filter (aggregation is not supported).
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IPersist (for IBaseFilter and IPersistPropertyBag alike)
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* classId) override;

    // IMediaFilter, IBaseFilter
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
    HRESULT STDMETHODCALLTYPE GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override;
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* vendorInfo) override;

    // IPersistPropertyBag
    HRESULT STDMETHODCALLTYPE InitNew() override;
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* errorLog) override;
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // IKsControl
    HRESULT STDMETHODCALLTYPE KsProperty(void* property, ULONG propertyLength, void* data, ULONG dataLength,
                                         ULONG* bytesReturned) override;
    HRESULT STDMETHODCALLTYPE KsMethod(void* method, ULONG methodLength, void* data, ULONG dataLength,
                                       ULONG* bytesReturned) override;
    HRESULT STDMETHODCALLTYPE KsEvent(void* event, ULONG eventLength, void* data, ULONG dataLength,
                                      ULONG* bytesReturned) override;

    // IKsPropertySet
    HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength) override;
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength, DWORD* bytesReturned) override;
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // IKsTopologyInfo
    HRESULT STDMETHODCALLTYPE get_NumCategories(DWORD* count) override;
    HRESULT STDMETHODCALLTYPE get_Category(DWORD index, GUID* category) override;
    HRESULT STDMETHODCALLTYPE get_NumConnections(DWORD* count) override;
    HRESULT STDMETHODCALLTYPE get_ConnectionInfo(DWORD index, kv::win::KsTopologyConnection* connection) override;
    HRESULT STDMETHODCALLTYPE get_NodeName(DWORD node, WCHAR* name, DWORD bufferSize, DWORD* nameLength) override;
    HRESULT STDMETHODCALLTYPE get_NumNodes(DWORD* count) override;
    HRESULT STDMETHODCALLTYPE get_NodeType(DWORD node, GUID* type) override;
    HRESULT STDMETHODCALLTYPE CreateNodeInstance(DWORD node, REFIID iid, void** object) override;

    // IAMVideoControl: the still pin's trigger (SimCaptureFilterVideo.cpp).
    HRESULT STDMETHODCALLTYPE GetCaps(IPin* pin, long* flags) override;
    HRESULT STDMETHODCALLTYPE SetMode(IPin* pin, long mode) override;
    HRESULT STDMETHODCALLTYPE GetMode(IPin* pin, long* mode) override;
    HRESULT STDMETHODCALLTYPE GetCurrentActualFrameRate(IPin* pin, LONGLONG* frameTime) override;
    HRESULT STDMETHODCALLTYPE GetMaxAvailableFrameRate(IPin* pin, long index, SIZE dimensions,
                                                       LONGLONG* frameTime) override;
    HRESULT STDMETHODCALLTYPE GetFrameRateList(IPin* pin, long index, SIZE dimensions, long* count,
                                               LONGLONG** frameTimes) override;

private:
    SimCaptureFilter();
    ~SimCaptureFilter();
    SimCaptureFilter(const SimCaptureFilter&) = delete;
    SimCaptureFilter& operator=(const SimCaptureFilter&) = delete;

    IUnknown* Identity() { return static_cast<IBaseFilter*>(this); }
    // The interface of this object for iid, or null.
    void* Face(REFIID iid);
    void* BoundFace(REFIID iid);
    // The pin behind `pin` when it is one of ours.
    SimVideoPin* OwnPin(IPin* pin);

    std::atomic<ULONG> refs_{0};  // the creator's smart pointer takes the first
    DeviceBinding binding_;
    // Set when loading from the property bag failed: the filter then answers
    // nothing a caller could use, so that the moniker's bind fails whether or
    // not it looks at Load's result.
    std::atomic<bool> refused_{false};
    PropertyFace<IAMVideoProcAmp> procAmp_;
    PropertyFace<IAMCameraControl> cameraControl_;

    // Graph membership and run state, as any filter keeps them.
    std::mutex mutex_;
    FILTER_STATE state_ = State_Stopped;
    Microsoft::WRL::ComPtr<IReferenceClock> clock_;
    IFilterGraph* graph_ = nullptr;  // not held: the graph holds its filters
    std::wstring graphName_;

    SimVideoPin capturePin_;
    SimVideoPin stillPin_;
    std::atomic<long> stillMode_{0};
};

}  // namespace kv::sim::win32
