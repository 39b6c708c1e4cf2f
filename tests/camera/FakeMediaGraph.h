// Recording fakes of the media-graph port: a graph whose parts log every
// call into one list, so a test can check the order of a whole operation.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/MediaGraph.h"

namespace kv::test {

using Calls = std::vector<std::string>;

class FakeMediaControl : public platform::MediaControl {
public:
    explicit FakeMediaControl(Calls& calls, std::string name) : m_calls(calls), m_name(std::move(name)) {}
    platform::GraphState state = platform::GraphState::Stopped;
    platform::HResult Run() override { return Record("Run", platform::GraphState::Running); }
    platform::HResult Pause() override { return Record("Pause", platform::GraphState::Paused); }
    platform::HResult Stop() override { return Record("Stop", platform::GraphState::Stopped); }
    platform::HResult GetState(platform::GraphState& out) override {
        out = state;
        return platform::kS_OK;
    }

private:
    platform::HResult Record(const char* what, platform::GraphState next) {
        m_calls.push_back(m_name + "." + what);
        state = next;
        return platform::kS_OK;
    }
    Calls& m_calls;
    std::string m_name;
};

class FakeGraphFilter : public platform::GraphFilter {};

class FakeSampleGrabber : public platform::SampleGrabber {
public:
    explicit FakeSampleGrabber(Calls& calls) : m_calls(calls) {}
    platform::MediaType requested;
    platform::MediaType connected;
    bool connectedFails = false;
    platform::GrabberCallback* callback = nullptr;
    std::int32_t which = -1;
    platform::HResult SetMediaType(const platform::MediaType& type) override {
        m_calls.push_back("grabber.SetMediaType");
        requested = type;
        return platform::kS_OK;
    }
    platform::HResult GetConnectedMediaType(platform::MediaType& type) override {
        m_calls.push_back("grabber.GetConnectedMediaType");
        type = connected;
        return connectedFails ? platform::kE_FAIL : platform::kS_OK;
    }
    platform::HResult SetOneShot(bool oneShot) override {
        m_calls.push_back(std::string("grabber.SetOneShot ") + (oneShot ? "1" : "0"));
        return platform::kS_OK;
    }
    platform::HResult SetBufferSamples(bool buffer) override {
        m_calls.push_back(std::string("grabber.SetBufferSamples ") + (buffer ? "1" : "0"));
        return platform::kS_OK;
    }
    platform::HResult SetCallback(platform::GrabberCallback* cb, std::int32_t w) override {
        m_calls.push_back("grabber.SetCallback " + std::to_string(w));
        callback = cb;
        which = w;
        return platform::kS_OK;
    }

private:
    Calls& m_calls;
};

class FakeFileSource : public platform::FileSource {
public:
    explicit FakeFileSource(Calls& calls) : m_calls(calls) {}
    platform::HResult Load(const std::string& fileName) override {
        m_calls.push_back("source.Load " + fileName);
        return platform::kS_OK;
    }

private:
    Calls& m_calls;
};

class FakeSeeking : public platform::MediaSeeking {
public:
    explicit FakeSeeking(Calls& calls) : m_calls(calls) {}
    std::uint32_t capabilities = 0x2;
    bool framesSupported = false;
    bool inFrames = false;
    std::int64_t current = 0;
    std::int64_t stop = 0;        // in 100-ns units
    std::int64_t stopFrames = 0;  // in frames, once that format is set
    platform::HResult GetCapabilities(std::uint32_t& caps) override {
        caps = capabilities;
        return platform::kS_OK;
    }
    platform::HResult IsFormatSupported(const platform::Guid&) override {
        return framesSupported ? platform::kS_OK : platform::kS_FALSE;
    }
    platform::HResult SetTimeFormat(const platform::Guid&) override {
        m_calls.push_back("seeking.SetTimeFormat");
        inFrames = framesSupported;
        return framesSupported ? platform::kS_OK : platform::kE_NOTIMPL;
    }
    platform::HResult GetStopPosition(std::int64_t& out) override {
        out = inFrames ? stopFrames : stop;
        return platform::kS_OK;
    }
    platform::HResult GetCurrentPosition(std::int64_t& out) override {
        out = current;
        return platform::kS_OK;
    }
    platform::HResult SetPositions(std::int64_t* cur, std::uint32_t curFlags, std::int64_t* st,
                                   std::uint32_t stopFlags) override {
        m_calls.push_back("seeking.SetPositions " + (cur ? std::to_string(*cur) : "-") + "/" +
                          std::to_string(curFlags) + " " + (st ? std::to_string(*st) : "-") + "/" +
                          std::to_string(stopFlags));
        if (cur) current = *cur;
        return platform::kS_OK;
    }
    platform::HResult SetRate(double rate) override {
        m_calls.push_back("seeking.SetRate " + std::to_string(rate));
        return platform::kS_OK;
    }

private:
    Calls& m_calls;
};

class FakeEvents : public platform::MediaEvents {
public:
    void* window = nullptr;
    std::int32_t message = 0;
    platform::HResult SetNotifyWindow(void* w, std::int32_t m, std::intptr_t) override {
        window = w;
        message = m;
        return platform::kS_OK;
    }
};

class FakeFrameStep : public platform::FrameStep {
public:
    explicit FakeFrameStep(Calls& calls) : m_calls(calls) {}
    bool canStep = true;
    platform::HResult CanStep(std::int32_t) override { return canStep ? platform::kS_OK : platform::kS_FALSE; }
    platform::HResult Step(std::uint32_t frames) override {
        m_calls.push_back("step.Step " + std::to_string(frames));
        return platform::kS_OK;
    }

private:
    Calls& m_calls;
};

class FakeFilterGraph : public platform::FilterGraph {
public:
    explicit FakeFilterGraph(Calls& calls)
        : control(std::make_shared<FakeMediaControl>(calls, "playback")),
          seeking(std::make_shared<FakeSeeking>(calls)),
          events(std::make_shared<FakeEvents>()),
          m_calls(calls) {}
    std::shared_ptr<FakeMediaControl> control;
    std::shared_ptr<FakeSeeking> seeking;
    std::shared_ptr<FakeEvents> events;
    std::shared_ptr<FakeFrameStep> frameStep;  // none: E_NOINTERFACE
    platform::HResult renderResult = platform::kS_OK;

    platform::HResult AddFilter(platform::GraphFilter&, const std::string& name) override {
        m_calls.push_back("graph.AddFilter " + name);
        return platform::kS_OK;
    }
    platform::HResult AddCaptureFilter(platform::Filter&, const std::string& name) override {
        m_calls.push_back("graph.AddCaptureFilter " + name);
        return platform::kS_OK;
    }
    platform::HResult RenderFile(const std::string& fileName) override {
        m_calls.push_back("graph.RenderFile " + fileName);
        return renderResult;
    }
    platform::HResult ConnectFirstPins(platform::GraphFilter&, platform::GraphFilter&) override {
        m_calls.push_back("graph.ConnectFirstPins");
        return platform::kS_OK;
    }
    platform::HResult RenderOutput(platform::GraphFilter&) override {
        m_calls.push_back("graph.RenderOutput");
        return renderResult;
    }
    platform::HResult QueryMediaControl(std::shared_ptr<platform::MediaControl>& out) override {
        return Give(control, out);
    }
    platform::HResult QueryMediaSeeking(std::shared_ptr<platform::MediaSeeking>& out) override {
        return Give(seeking, out);
    }
    platform::HResult QueryMediaEvents(std::shared_ptr<platform::MediaEvents>& out) override {
        return Give(events, out);
    }
    platform::HResult QueryFrameStep(std::shared_ptr<platform::FrameStep>& out) override {
        return Give(frameStep, out);
    }
    platform::HResult SetVideoAutoShow(bool autoShow) override {
        m_calls.push_back(std::string("graph.SetVideoAutoShow ") + (autoShow ? "1" : "0"));
        return platform::kS_OK;
    }

private:
    template <class T, class Port>
    static platform::HResult Give(const std::shared_ptr<T>& mine, std::shared_ptr<Port>& out) {
        out = mine;
        return mine ? platform::kS_OK : platform::kE_NOINTERFACE;
    }
    Calls& m_calls;
};

class FakeCapturePin : public platform::CapturePin {};

class FakeCaptureBuilder : public platform::CaptureGraphBuilder {
public:
    explicit FakeCaptureBuilder(Calls& calls) : m_calls(calls) {}
    bool hasStillPin = true;
    std::shared_ptr<FakeCapturePin> stillPin = std::make_shared<FakeCapturePin>();
    platform::HResult RenderStillStream(platform::Filter&, platform::GraphFilter&, platform::GraphFilter&) override {
        m_calls.push_back("builder.RenderStillStream");
        return platform::kS_OK;
    }
    platform::HResult FindStillPin(platform::Filter&, std::shared_ptr<platform::CapturePin>& pin) override {
        if (!hasStillPin) return platform::kE_FAIL;
        pin = stillPin;
        return platform::kS_OK;
    }

private:
    Calls& m_calls;
};

class FakeVideoControl : public platform::VideoControl {
public:
    std::vector<std::pair<platform::CapturePin*, std::int32_t>> modes;
    platform::HResult SetMode(platform::CapturePin& pin, std::int32_t mode) override {
        modes.emplace_back(&pin, mode);
        return platform::kS_OK;
    }
};

// The classes: each creation hands out the next object of its kind.
class FakeMediaGraphs : public platform::MediaGraphs {
public:
    Calls calls;
    std::shared_ptr<FakeFilterGraph> graph = std::make_shared<FakeFilterGraph>(calls);
    std::shared_ptr<FakeSampleGrabber> grabber = std::make_shared<FakeSampleGrabber>(calls);
    std::shared_ptr<FakeFileSource> source = std::make_shared<FakeFileSource>(calls);
    std::shared_ptr<FakeGraphFilter> nullRenderer = std::make_shared<FakeGraphFilter>();
    bool grabberFails = false;

    platform::HResult CreateFilterGraph(std::shared_ptr<platform::FilterGraph>& out) override {
        out = graph;
        return platform::kS_OK;
    }
    platform::HResult CreateCaptureGraphBuilder(platform::FilterGraph&,
                                                std::shared_ptr<platform::CaptureGraphBuilder>&) override {
        return platform::kE_NOTIMPL;  // the tests hand the camera object a builder of their own
    }
    platform::HResult CreateSampleGrabber(std::shared_ptr<platform::SampleGrabber>& out) override {
        if (grabberFails) return platform::kClassNotRegistered;
        out = grabber;
        return platform::kS_OK;
    }
    platform::HResult CreateNullRenderer(std::shared_ptr<platform::GraphFilter>& out) override {
        out = nullRenderer;
        return platform::kS_OK;
    }
    platform::HResult CreateFileSource(std::shared_ptr<platform::FileSource>& out) override {
        out = source;
        return platform::kS_OK;
    }
};

}  // namespace kv::test
