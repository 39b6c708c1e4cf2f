// Media-graph port: the filter graph, capture graph builder, sample grabber,
// null renderer, file source and the graph's control, seeking, event and
// frame-step interfaces, shaped after the platform's calls so that the
// camera object's viewer operations read like the sequence they make.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/CaptureDevices.h"
#include "platform/Guid.h"
#include "platform/HResult.h"

namespace kv::platform {

// AM_MEDIA_TYPE without its ownership rules: the format block is a copy.
struct MediaType {
    Guid majorType;
    Guid subType;
    Guid formatType;
    std::vector<std::uint8_t> format;
};

// The states a media control reports (the platform's FILTER_STATE values).
enum class GraphState : std::int32_t { Stopped = 0, Paused = 1, Running = 2 };

class MediaControl {
public:
    virtual ~MediaControl() = default;
    virtual HResult Run() = 0;
    virtual HResult Pause() = 0;
    virtual HResult Stop() = 0;
    // Waits for a transition in progress without time-out.
    virtual HResult GetState(GraphState& state) = 0;
};

// ISampleGrabberCB as the core implements it. The adapter hands the grabber
// an object whose every call, reference counting and QueryInterface
// included, is answered by this one.
class GrabberCallback {
public:
    virtual ~GrabberCallback() = default;
    // `out` receives this object on success.
    virtual HResult QueryInterface(const Guid& iid, void** out) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;
    // `sample` is the platform's media sample, opaque here.
    virtual HResult SampleCB(double sampleTime, void* sample) = 0;
    virtual HResult BufferCB(double sampleTime, std::uint8_t* buffer, std::int32_t length) = 0;
};

// Any filter the adapter created and can put into a graph.
class GraphFilter {
public:
    virtual ~GraphFilter() = default;
};

class SampleGrabber : public GraphFilter {
public:
    virtual HResult SetMediaType(const MediaType& type) = 0;
    virtual HResult GetConnectedMediaType(MediaType& type) = 0;
    virtual HResult SetOneShot(bool oneShot) = 0;
    virtual HResult SetBufferSamples(bool buffer) = 0;
    // which: 0 = sample callback, 1 = buffer callback. The callback must
    // outlive the grabber's use of it (the camera object owns both).
    virtual HResult SetCallback(GrabberCallback* callback, std::int32_t which) = 0;
};

// The asynchronous file source (IFileSourceFilter).
class FileSource : public GraphFilter {
public:
    virtual HResult Load(const std::string& fileName) = 0;
};

class MediaSeeking {
public:
    virtual ~MediaSeeking() = default;
    virtual HResult GetCapabilities(std::uint32_t& capabilities) = 0;
    virtual HResult IsFormatSupported(const Guid& format) = 0;
    virtual HResult SetTimeFormat(const Guid& format) = 0;
    virtual HResult GetStopPosition(std::int64_t& stop) = 0;
    virtual HResult GetCurrentPosition(std::int64_t& current) = 0;
    // Either pointer may be null; flags as AM_SEEKING_* (1 = absolute).
    virtual HResult SetPositions(std::int64_t* current, std::uint32_t currentFlags, std::int64_t* stop,
                                 std::uint32_t stopFlags) = 0;
    virtual HResult SetRate(double rate) = 0;
};

class MediaEvents {
public:
    virtual ~MediaEvents() = default;
    virtual HResult SetNotifyWindow(void* window, std::int32_t message, std::intptr_t instance) = 0;
};

class FrameStep {
public:
    virtual ~FrameStep() = default;
    // S_OK when the graph can step `multiple` frames at once (0: one).
    virtual HResult CanStep(std::int32_t multiple) = 0;
    virtual HResult Step(std::uint32_t frames) = 0;
};

// IGraphBuilder and the interfaces the graph object answers.
class FilterGraph {
public:
    virtual ~FilterGraph() = default;
    virtual HResult AddFilter(GraphFilter& filter, const std::string& name) = 0;
    virtual HResult AddCaptureFilter(Filter& filter, const std::string& name) = 0;
    virtual HResult RenderFile(const std::string& fileName) = 0;
    // Connects the first output pin of `upstream` to the first input pin of
    // `downstream`, with whatever filters the graph puts between them.
    virtual HResult ConnectFirstPins(GraphFilter& upstream, GraphFilter& downstream) = 0;
    // Renders the first output pin of `filter`.
    virtual HResult RenderOutput(GraphFilter& filter) = 0;
    virtual HResult QueryMediaControl(std::shared_ptr<MediaControl>& control) = 0;
    virtual HResult QueryMediaSeeking(std::shared_ptr<MediaSeeking>& seeking) = 0;
    virtual HResult QueryMediaEvents(std::shared_ptr<MediaEvents>& events) = 0;
    virtual HResult QueryFrameStep(std::shared_ptr<FrameStep>& step) = 0;
    // IVideoWindow::put_AutoShow of the graph's video window.
    virtual HResult SetVideoAutoShow(bool autoShow) = 0;
};

// ICaptureGraphBuilder2 on a filter graph.
class CaptureGraphBuilder {
public:
    virtual ~CaptureGraphBuilder() = default;
    // RenderStream(still category, video, source, grabber, renderer).
    virtual HResult RenderStillStream(Filter& source, GraphFilter& grabber, GraphFilter& renderer) = 0;
    // FindPin(source, output, still category, any type, any pin, index 0).
    virtual HResult FindStillPin(Filter& source, std::shared_ptr<CapturePin>& pin) = 0;
};

// Class creation of the graph parts. Where the platform has no such graph,
// every creation fails (kClassNotRegistered).
class MediaGraphs {
public:
    virtual ~MediaGraphs() = default;
    virtual HResult CreateFilterGraph(std::shared_ptr<FilterGraph>& graph) = 0;
    virtual HResult CreateCaptureGraphBuilder(FilterGraph& graph, std::shared_ptr<CaptureGraphBuilder>& builder) = 0;
    virtual HResult CreateSampleGrabber(std::shared_ptr<SampleGrabber>& grabber) = 0;
    virtual HResult CreateNullRenderer(std::shared_ptr<GraphFilter>& renderer) = 0;
    virtual HResult CreateFileSource(std::shared_ptr<FileSource>& source) = 0;
};

// A platform without these graphs: nothing can be created.
class AbsentMediaGraphs : public MediaGraphs {
public:
    HResult CreateFilterGraph(std::shared_ptr<FilterGraph>&) override { return kClassNotRegistered; }
    HResult CreateCaptureGraphBuilder(FilterGraph&, std::shared_ptr<CaptureGraphBuilder>&) override {
        return kClassNotRegistered;
    }
    HResult CreateSampleGrabber(std::shared_ptr<SampleGrabber>&) override { return kClassNotRegistered; }
    HResult CreateNullRenderer(std::shared_ptr<GraphFilter>&) override { return kClassNotRegistered; }
    HResult CreateFileSource(std::shared_ptr<FileSource>&) override { return kClassNotRegistered; }
};

// The camera preview graph a host builds and hands the camera object.
struct CameraGraph {
    std::shared_ptr<FilterGraph> graph;
    std::shared_ptr<CaptureGraphBuilder> builder;
    std::shared_ptr<MediaControl> control;
    std::shared_ptr<Filter> source;
};

}  // namespace kv::platform
