// An output pin of the simulated capture filter: the capture pin streams
// the test pattern while the graph runs; the still pin delivers one frame
// each time the filter's IAMVideoControl triggers it. Both offer the YUY2
// sizes of the camera through IAMStreamConfig and tell their category
// through IKsPropertySet, as a camera's pins do.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/win32/SimMediaTypes.h"

namespace kv::sim::win32 {

class SimVideoPin final : public IPin, public IAMStreamConfig, public IKsPropertySet {
public:
    enum class Kind { Capture, Still };

    // The pin lives inside `filter` and counts its references there.
    SimVideoPin(IBaseFilter& filter, Kind kind, std::vector<FrameSize> sizes);
    ~SimVideoPin();
    SimVideoPin(const SimVideoPin&) = delete;
    SimVideoPin& operator=(const SimVideoPin&) = delete;

    const wchar_t* Name() const { return kind_ == Kind::Capture ? L"Capture" : L"Still"; }
    Kind kind() const { return kind_; }

    // The filter's state changes: paused or running from stopped starts the
    // pin's streaming thread; stopped ends it.
    void Activate();
    void Deactivate();
    void SetRunning(bool running);
    // One still frame, delivered by the streaming thread while running.
    void Trigger();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return filter_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return filter_.Release(); }

    // IPin
    HRESULT STDMETHODCALLTYPE Connect(IPin* receiver, const AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE Disconnect() override;
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) override;
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) override;
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
    HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) override;
    HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndOfStream() override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE EndFlush() override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IAMStreamConfig
    HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE* type) override;
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** type) override;
    HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int* count, int* size) override;
    HRESULT STDMETHODCALLTYPE GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

    // IKsPropertySet: the pin category (AMPROPSETID_Pin) only.
    HRESULT STDMETHODCALLTYPE Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                                  DWORD dataLength, DWORD* bytesReturned) override;
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

private:
    HRESULT TryConnection(IPin* receiver, std::size_t sizeIndex);
    HRESULT DecideAllocator(IMemInputPin& input, FrameSize size, Microsoft::WRL::ComPtr<IMemAllocator>& allocator);
    void Stream();
    // `frame` picks the pattern; `sinceStart` times a capture frame from the
    // start of the current run.
    void Deliver(std::uint32_t frame, std::uint32_t sinceStart);

    IBaseFilter& filter_;
    const Kind kind_;
    const std::vector<FrameSize> sizes_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::size_t current_ = 0;  // the size SetFormat chose, or the connection's
    Microsoft::WRL::ComPtr<IPin> connected_;
    Microsoft::WRL::ComPtr<IMemInputPin> input_;
    Microsoft::WRL::ComPtr<IMemAllocator> allocator_;
    bool active_ = false;
    bool running_ = false;
    int pendingStills_ = 0;
    std::uint32_t nextFrame_ = 0;      // over the pin's life: the pattern moves on
    std::uint32_t framesThisRun_ = 0;  // since the streaming thread started
    std::thread thread_;
};

}  // namespace kv::sim::win32
