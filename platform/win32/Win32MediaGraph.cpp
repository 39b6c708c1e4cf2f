// The media-graph port on Windows: one small adapter per COM interface, and
// the object that hands a sample grabber the core's callback.
#include "platform/win32/Win32MediaGraph.h"

#include <windows.h>
#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/Win32Filter.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

namespace {

using Microsoft::WRL::ComPtr;

// The platform's sample grabber and null renderer; the headers declare their
// interfaces but not their classes.
constexpr CLSID kClsidSampleGrabber = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
constexpr CLSID kClsidNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

// What every filter of ours exposes to the graph adapters.
class Win32GraphPart {
public:
    virtual ~Win32GraphPart() = default;
    virtual IBaseFilter* Raw() const = 0;
};

IBaseFilter* RawOf(GraphFilter& filter) {
    auto* part = dynamic_cast<Win32GraphPart*>(&filter);
    return part ? part->Raw() : nullptr;
}

MediaType FromAmMediaType(const AM_MEDIA_TYPE& raw) {
    MediaType type;
    type.majorType = FromWin32Guid(raw.majortype);
    type.subType = FromWin32Guid(raw.subtype);
    type.formatType = FromWin32Guid(raw.formattype);
    if (raw.pbFormat && raw.cbFormat) type.format.assign(raw.pbFormat, raw.pbFormat + raw.cbFormat);
    return type;
}

// The grabber's answer owns its format block and may hold an object.
void FreeAmMediaType(AM_MEDIA_TYPE& raw) {
    if (raw.pbFormat) CoTaskMemFree(raw.pbFormat);
    if (raw.pUnk) raw.pUnk->Release();
    raw.pbFormat = nullptr;
    raw.pUnk = nullptr;
}

// ISampleGrabberCB whose every call, counting and QueryInterface included,
// the core's callback answers.
class GrabberCallbackShim final : public ISampleGrabberCB {
public:
    explicit GrabberCallbackShim(GrabberCallback& callback) : m_callback(callback) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        void* core = nullptr;
        const HRESULT hr = m_callback.QueryInterface(FromWin32Guid(iid), out ? &core : nullptr);
        if (out) *out = SUCCEEDED(hr) ? static_cast<ISampleGrabberCB*>(this) : nullptr;
        return hr;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_callback.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_callback.Release(); }
    HRESULT STDMETHODCALLTYPE SampleCB(double time, IMediaSample* sample) override {
        return m_callback.SampleCB(time, sample);
    }
    HRESULT STDMETHODCALLTYPE BufferCB(double time, BYTE* buffer, long length) override {
        return m_callback.BufferCB(time, buffer, length);
    }

private:
    GrabberCallback& m_callback;
};

class Win32PlainFilter : public GraphFilter, public Win32GraphPart {
public:
    explicit Win32PlainFilter(ComPtr<IBaseFilter> filter) : m_filter(std::move(filter)) {}
    IBaseFilter* Raw() const override { return m_filter.Get(); }

private:
    ComPtr<IBaseFilter> m_filter;
};

class Win32SampleGrabber : public SampleGrabber, public Win32GraphPart {
public:
    Win32SampleGrabber(ComPtr<IBaseFilter> filter, ComPtr<ISampleGrabber> grabber)
        : m_filter(std::move(filter)), m_grabber(std::move(grabber)) {}
    ~Win32SampleGrabber() override {
        if (m_shim) m_grabber->SetCallback(nullptr, 0);
    }
    Win32SampleGrabber(const Win32SampleGrabber&) = delete;
    Win32SampleGrabber& operator=(const Win32SampleGrabber&) = delete;
    IBaseFilter* Raw() const override { return m_filter.Get(); }

    HResult SetMediaType(const MediaType& type) override {
        AM_MEDIA_TYPE raw{};
        raw.majortype = ToWin32Guid(type.majorType);
        raw.subtype = ToWin32Guid(type.subType);
        raw.formattype = ToWin32Guid(type.formatType);
        return m_grabber->SetMediaType(&raw);
    }
    HResult GetConnectedMediaType(MediaType& type) override {
        AM_MEDIA_TYPE raw{};
        const HRESULT hr = m_grabber->GetConnectedMediaType(&raw);
        if (SUCCEEDED(hr)) type = FromAmMediaType(raw);
        FreeAmMediaType(raw);
        return hr;
    }
    HResult SetOneShot(bool oneShot) override { return m_grabber->SetOneShot(oneShot ? TRUE : FALSE); }
    HResult SetBufferSamples(bool buffer) override { return m_grabber->SetBufferSamples(buffer ? TRUE : FALSE); }
    HResult SetCallback(GrabberCallback* callback, std::int32_t which) override {
        auto shim = callback ? std::make_unique<GrabberCallbackShim>(*callback) : nullptr;
        const HRESULT hr = m_grabber->SetCallback(shim.get(), which);
        // The old shim goes only once the grabber has let go of it.
        if (SUCCEEDED(hr)) m_shim = std::move(shim);
        return hr;
    }

private:
    ComPtr<IBaseFilter> m_filter;
    ComPtr<ISampleGrabber> m_grabber;
    std::unique_ptr<GrabberCallbackShim> m_shim;
};

class Win32FileSource : public FileSource, public Win32GraphPart {
public:
    Win32FileSource(ComPtr<IBaseFilter> filter, ComPtr<IFileSourceFilter> source)
        : m_filter(std::move(filter)), m_source(std::move(source)) {}
    IBaseFilter* Raw() const override { return m_filter.Get(); }
    HResult Load(const std::string& fileName) override { return m_source->Load(Widen(fileName).c_str(), nullptr); }

private:
    ComPtr<IBaseFilter> m_filter;
    ComPtr<IFileSourceFilter> m_source;
};

class Win32MediaControl : public MediaControl {
public:
    explicit Win32MediaControl(ComPtr<IMediaControl> control) : m_control(std::move(control)) {}
    HResult Run() override { return m_control->Run(); }
    HResult Pause() override { return m_control->Pause(); }
    HResult Stop() override { return m_control->Stop(); }
    HResult GetState(GraphState& state) override {
        OAFilterState raw = State_Stopped;
        const HRESULT hr = m_control->GetState(INFINITE, &raw);
        state = static_cast<GraphState>(raw);
        return hr;
    }

private:
    ComPtr<IMediaControl> m_control;
};

class Win32MediaSeeking : public MediaSeeking {
public:
    explicit Win32MediaSeeking(ComPtr<IMediaSeeking> seeking) : m_seeking(std::move(seeking)) {}
    HResult GetCapabilities(std::uint32_t& capabilities) override {
        DWORD raw = 0;
        const HRESULT hr = m_seeking->GetCapabilities(&raw);
        capabilities = raw;
        return hr;
    }
    HResult IsFormatSupported(const Guid& format) override {
        const GUID raw = ToWin32Guid(format);
        return m_seeking->IsFormatSupported(&raw);
    }
    HResult SetTimeFormat(const Guid& format) override {
        const GUID raw = ToWin32Guid(format);
        return m_seeking->SetTimeFormat(&raw);
    }
    HResult GetStopPosition(std::int64_t& stop) override { return Read(&IMediaSeeking::GetStopPosition, stop); }
    HResult GetCurrentPosition(std::int64_t& current) override {
        return Read(&IMediaSeeking::GetCurrentPosition, current);
    }
    HResult SetPositions(std::int64_t* current, std::uint32_t currentFlags, std::int64_t* stop,
                         std::uint32_t stopFlags) override {
        LONGLONG rawCurrent = current ? *current : 0;
        LONGLONG rawStop = stop ? *stop : 0;
        return m_seeking->SetPositions(current ? &rawCurrent : nullptr, currentFlags, stop ? &rawStop : nullptr,
                                       stopFlags);
    }
    HResult SetRate(double rate) override { return m_seeking->SetRate(rate); }

private:
    HResult Read(HRESULT (STDMETHODCALLTYPE IMediaSeeking::*get)(LONGLONG*), std::int64_t& out) {
        LONGLONG raw = 0;
        const HRESULT hr = (m_seeking.Get()->*get)(&raw);
        out = raw;
        return hr;
    }
    ComPtr<IMediaSeeking> m_seeking;
};

class Win32MediaEvents : public MediaEvents {
public:
    explicit Win32MediaEvents(ComPtr<IMediaEventEx> events) : m_events(std::move(events)) {}
    HResult SetNotifyWindow(void* window, std::int32_t message, std::intptr_t instance) override {
        return m_events->SetNotifyWindow(reinterpret_cast<OAHWND>(window), message, instance);
    }

private:
    ComPtr<IMediaEventEx> m_events;
};

class Win32FrameStep : public FrameStep {
public:
    explicit Win32FrameStep(ComPtr<IVideoFrameStep> step) : m_step(std::move(step)) {}
    HResult CanStep(std::int32_t multiple) override { return m_step->CanStep(multiple, nullptr); }
    HResult Step(std::uint32_t frames) override { return m_step->Step(frames, nullptr); }

private:
    ComPtr<IVideoFrameStep> m_step;
};

// The interface ids are named: the headers give some of these interfaces no
// __uuidof.
template <class Interface, class Adapter, class Port>
HResult QueryAs(IUnknown* object, REFIID iid, std::shared_ptr<Port>& out) {
    ComPtr<Interface> raw;
    const HRESULT hr = object->QueryInterface(iid, reinterpret_cast<void**>(raw.GetAddressOf()));
    if (SUCCEEDED(hr) && raw) out = std::make_shared<Adapter>(raw);
    return hr;
}

// The filter's first pin of that direction.
ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION wanted) {
    ComPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(&pins))) return nullptr;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        PIN_DIRECTION direction;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted) return pin;
    }
    return nullptr;
}

class Win32FilterGraph : public FilterGraph {
public:
    explicit Win32FilterGraph(ComPtr<IGraphBuilder> graph) : m_graph(std::move(graph)) {}
    IGraphBuilder* Raw() const { return m_graph.Get(); }

    HResult AddFilter(GraphFilter& filter, const std::string& name) override {
        IBaseFilter* raw = RawOf(filter);
        return raw ? m_graph->AddFilter(raw, Widen(name).c_str()) : E_INVALIDARG;
    }
    HResult AddCaptureFilter(Filter& filter, const std::string& name) override {
        IBaseFilter* raw = Win32BaseFilterOf(filter);
        return raw ? m_graph->AddFilter(raw, Widen(name).c_str()) : E_INVALIDARG;
    }
    HResult RenderFile(const std::string& fileName) override {
        return m_graph->RenderFile(Widen(fileName).c_str(), nullptr);
    }
    HResult ConnectFirstPins(GraphFilter& upstream, GraphFilter& downstream) override {
        const ComPtr<IPin> out = FirstPin(RawOf(upstream), PINDIR_OUTPUT);
        const ComPtr<IPin> in = FirstPin(RawOf(downstream), PINDIR_INPUT);
        return out && in ? m_graph->Connect(out.Get(), in.Get()) : VFW_E_NOT_FOUND;
    }
    HResult RenderOutput(GraphFilter& filter) override {
        const ComPtr<IPin> out = FirstPin(RawOf(filter), PINDIR_OUTPUT);
        return out ? m_graph->Render(out.Get()) : VFW_E_NOT_FOUND;
    }
    HResult QueryMediaControl(std::shared_ptr<MediaControl>& control) override {
        return QueryAs<IMediaControl, Win32MediaControl>(m_graph.Get(), IID_IMediaControl, control);
    }
    HResult QueryMediaSeeking(std::shared_ptr<MediaSeeking>& seeking) override {
        return QueryAs<IMediaSeeking, Win32MediaSeeking>(m_graph.Get(), IID_IMediaSeeking, seeking);
    }
    HResult QueryMediaEvents(std::shared_ptr<MediaEvents>& events) override {
        return QueryAs<IMediaEventEx, Win32MediaEvents>(m_graph.Get(), IID_IMediaEventEx, events);
    }
    HResult QueryFrameStep(std::shared_ptr<FrameStep>& step) override {
        return QueryAs<IVideoFrameStep, Win32FrameStep>(m_graph.Get(), IID_IVideoFrameStep, step);
    }
    HResult SetVideoAutoShow(bool autoShow) override {
        ComPtr<IVideoWindow> window;
        const HRESULT hr = m_graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(window.GetAddressOf()));
        return SUCCEEDED(hr) ? window->put_AutoShow(autoShow ? OATRUE : OAFALSE) : hr;
    }

private:
    ComPtr<IGraphBuilder> m_graph;
};

class Win32CaptureGraphBuilder : public CaptureGraphBuilder {
public:
    explicit Win32CaptureGraphBuilder(ComPtr<ICaptureGraphBuilder2> builder) : m_builder(std::move(builder)) {}
    HResult RenderStillStream(Filter& source, GraphFilter& grabber, GraphFilter& renderer) override {
        IBaseFilter* raw = Win32BaseFilterOf(source);
        if (!raw) return E_INVALIDARG;
        return m_builder->RenderStream(&PIN_CATEGORY_STILL, &MEDIATYPE_Video, raw, RawOf(grabber), RawOf(renderer));
    }
    HResult FindStillPin(Filter& source, std::shared_ptr<CapturePin>& pin) override {
        IBaseFilter* raw = Win32BaseFilterOf(source);
        if (!raw) return E_INVALIDARG;
        ComPtr<IPin> found;
        const HRESULT hr = m_builder->FindPin(raw, PINDIR_OUTPUT, &PIN_CATEGORY_STILL, nullptr, FALSE, 0, &found);
        if (SUCCEEDED(hr) && found) pin = std::make_shared<Win32CapturePin>(found);
        return hr;
    }

private:
    ComPtr<ICaptureGraphBuilder2> m_builder;
};

template <class Interface>
HRESULT Create(REFCLSID classId, DWORD context, ComPtr<Interface>& out) {
    return CoCreateInstance(classId, nullptr, context, __uuidof(Interface),
                            reinterpret_cast<void**>(out.ReleaseAndGetAddressOf()));
}

}  // namespace

HResult Win32MediaGraphs::CreateFilterGraph(std::shared_ptr<FilterGraph>& graph) {
    ComPtr<IGraphBuilder> raw;
    const HRESULT hr = Create(CLSID_FilterGraph, CLSCTX_INPROC_SERVER, raw);
    if (SUCCEEDED(hr)) graph = std::make_shared<Win32FilterGraph>(raw);
    return hr;
}

HResult Win32MediaGraphs::CreateCaptureGraphBuilder(FilterGraph& graph, std::shared_ptr<CaptureGraphBuilder>& builder) {
    auto* ours = dynamic_cast<Win32FilterGraph*>(&graph);
    if (!ours) return E_INVALIDARG;
    ComPtr<ICaptureGraphBuilder2> raw;
    HRESULT hr = Create(CLSID_CaptureGraphBuilder2, CLSCTX_INPROC_SERVER, raw);
    if (SUCCEEDED(hr)) hr = raw->SetFiltergraph(ours->Raw());
    if (SUCCEEDED(hr)) builder = std::make_shared<Win32CaptureGraphBuilder>(raw);
    return hr;
}

HResult Win32MediaGraphs::CreateSampleGrabber(std::shared_ptr<SampleGrabber>& grabber) {
    ComPtr<IBaseFilter> filter;
    HRESULT hr = Create(kClsidSampleGrabber, CLSCTX_INPROC_SERVER, filter);
    ComPtr<ISampleGrabber> face;
    if (SUCCEEDED(hr)) hr = filter.As(&face);
    if (SUCCEEDED(hr)) grabber = std::make_shared<Win32SampleGrabber>(filter, face);
    return hr;
}

HResult Win32MediaGraphs::CreateNullRenderer(std::shared_ptr<GraphFilter>& renderer) {
    ComPtr<IBaseFilter> filter;
    const HRESULT hr = Create(kClsidNullRenderer, CLSCTX_INPROC_SERVER, filter);
    if (SUCCEEDED(hr)) renderer = std::make_shared<Win32PlainFilter>(filter);
    return hr;
}

HResult Win32MediaGraphs::CreateFileSource(std::shared_ptr<FileSource>& source) {
    ComPtr<IBaseFilter> filter;
    HRESULT hr = Create(CLSID_AsyncReader, CLSCTX_INPROC_SERVER, filter);
    ComPtr<IFileSourceFilter> face;
    if (SUCCEEDED(hr)) hr = filter.As(&face);
    if (SUCCEEDED(hr)) source = std::make_shared<Win32FileSource>(filter, face);
    return hr;
}

}  // namespace kv::platform::win32
