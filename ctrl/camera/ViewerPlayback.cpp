// The viewer: file playback through a sample grabber, with play and pause,
// stepping frame by frame and rewinding.
#include "ctrl/camera/Viewer.h"

#include <algorithm>
#include <cstdio>

namespace kv::ctrl {

namespace {

using platform::Failed;
using platform::MakeGuid;
using platform::Succeeded;

const platform::Guid kMediaTypeVideo = MakeGuid("{73646976-0000-0010-8000-00AA00389B71}");
const platform::Guid kSubtypeRgb24 = MakeGuid("{E436EB7D-524F-11CE-9F53-0020AF0BA770}");
const platform::Guid kFormatVideoInfo = MakeGuid("{05589F80-C356-11CE-BF01-00AA0055595A}");
const platform::Guid kTimeFormatFrame = MakeGuid("{7B785574-8C82-11CF-BC0C-00AA00AC74F6}");

// VIDEOINFOHEADER: the frame time at byte 40, the BITMAPINFOHEADER at 48.
constexpr std::size_t kFrameTimeOffset = 40;
constexpr std::size_t kBitmapInfoOffset = 48;

platform::MediaType Rgb24VideoType() {
    platform::MediaType type;
    type.majorType = kMediaTypeVideo;
    type.subType = kSubtypeRgb24;
    type.formatType = kFormatVideoInfo;
    return type;
}

}  // namespace

// Keeps the connected format's frame time and frame header; 0 when the
// grabber has no usable video format.
int CameraViewer::StoreConnectedFormat(platform::SampleGrabber& grabber) {
    platform::MediaType connected;
    if (Failed(grabber.GetConnectedMediaType(connected)) || connected.formatType != kFormatVideoInfo ||
        connected.format.size() < kBitmapInfoOffset + BitmapInfoHeader::kBytes)
        return 0;
    std::int64_t frameTime = 0;
    for (std::size_t i = 8; i-- > 0;) frameTime = (frameTime << 8) | connected.format[kFrameTimeOffset + i];
    if (frameTime > 0) m_state.averageFrameTime = frameTime;
    return Format_Store(connected.format.data() + kBitmapInfoOffset);
}

// Source, grabber and renderer of the playback graph, connected.
int CameraViewer::BuildPlaybackChain(const std::string& fileName) {
    Playback& playback = m_state.playback;
    platform::SampleGrabber& grabber = *playback.grabber;
    static_cast<void>(grabber.SetMediaType(Rgb24VideoType()));
    if (fileName.find(".wmv") != std::string::npos) {
        // Such files need the platform's own reader: the graph picks it.
        if (Failed(playback.graph->RenderFile(fileName)) || !StoreConnectedFormat(grabber)) {
            m_ports.ui.ShowMessageBox("Render Failed");
            return 0;
        }
        return 1;
    }
    if (Failed(playback.source->Load(fileName)) ||
        Failed(playback.graph->ConnectFirstPins(*playback.source, grabber)) || !StoreConnectedFormat(grabber) ||
        Failed(playback.graph->RenderOutput(grabber))) {
        m_ports.ui.ShowMessageBox("Render Failed");
        return 0;
    }
    return 1;
}

// Frames when the graph takes that format, else 100-ns units; the end
// position is read either way, so that stepping forward knows where to stop.
// The duration comes from the stop position in 100-ns units, read before
// the format changes: in frames it would count frames as seconds. A graph
// that accepts the frame format but still reports the same stop position
// goes on counting in 100-ns units (Wine's does), and steps are measured
// in those.
void CameraViewer::ReadPlaybackPositions() {
    Playback& playback = m_state.playback;
    static_cast<void>(playback.seeking->GetCapabilities(playback.capabilities));
    std::int64_t mediaStop = 0;
    if (Failed(playback.seeking->GetStopPosition(mediaStop))) mediaStop = 0;
    const bool framesSelected = playback.seeking->IsFormatSupported(kTimeFormatFrame) == platform::kS_OK &&
                                playback.seeking->SetTimeFormat(kTimeFormatFrame) == platform::kS_OK;
    if (Failed(playback.seeking->GetStopPosition(playback.endPosition))) playback.endPosition = 0;
    playback.framesFormat = framesSelected && playback.endPosition != mediaStop;
    static_cast<void>(playback.seeking->SetRate(1.0));

    playback.durationSeconds = mediaStop / 10000000;
    playback.minutes = playback.durationSeconds / 60;
    playback.seconds = playback.durationSeconds % 60;
    char text[32];
    std::snprintf(text, sizeof text, "%.2lld:%.2lld", static_cast<long long>(playback.minutes),
                  static_cast<long long>(playback.seconds));
    playback.durationText = text;
}

void CameraViewer::StartFrameStepping() {
    Playback& playback = m_state.playback;
    std::shared_ptr<platform::FrameStep> step;
    if (Succeeded(playback.graph->QueryFrameStep(step)) && step && step->CanStep(0) == platform::kS_OK) {
        playback.frameStep = step;
        static_cast<void>(step->Step(1));
    }
}

int CameraViewer::Media_Open(const std::string& fileName) {
    Graph_Release();
    platform::MediaGraphs& graphs = m_ports.mediaGraphs;
    Playback& playback = m_state.playback;
    if (Failed(graphs.CreateSampleGrabber(playback.grabber)) || Failed(graphs.CreateFileSource(playback.source)) ||
        Failed(graphs.CreateFilterGraph(playback.graph)) ||
        Failed(playback.graph->AddFilter(*playback.source, "Source")) ||
        Failed(playback.graph->AddFilter(*playback.grabber, "Grabber")) ||
        Failed(playback.graph->QueryMediaEvents(playback.events)) || !BuildPlaybackChain(fileName)) {
        playback = Playback{};
        return 0;
    }
    static_cast<void>(playback.grabber->SetBufferSamples(false));
    static_cast<void>(playback.grabber->SetOneShot(false));
    static_cast<void>(playback.grabber->SetCallback(&m_state.frameCallback, 0));
    if (Failed(playback.graph->QueryMediaControl(playback.control)) ||
        Failed(playback.graph->QueryMediaSeeking(playback.seeking))) {
        playback = Playback{};
        return 0;
    }
    ReadPlaybackPositions();
    static_cast<void>(playback.graph->SetVideoAutoShow(false));
    StartFrameStepping();
    playback.stepCounter = 0;
    playback.open = true;
    playback.state = kPlaybackPaused;
    static_cast<void>(playback.events->SetNotifyWindow(m_notifyWindow, static_cast<std::int32_t>(kMsgGraphEvent), 0));
    return Media_PlayPause();
}

int CameraViewer::Media_PlayPause() {
    Playback& playback = m_state.playback;
    if (!playback.control) return 0;
    if (playback.state == kPlaybackPlaying) {
        static_cast<void>(playback.control->Pause());
        playback.state = kPlaybackPaused;
        m_ports.ui.DebugOutput("=== Cur Play, Now Pause ===\r\n");
    } else if (playback.state == kPlaybackPaused) {
        static_cast<void>(playback.control->Run());
        playback.state = kPlaybackPlaying;
        m_ports.ui.DebugOutput("=== Cur Pause, Now Play ===\r\n");
    } else {
        static_cast<void>(playback.control->Stop());
        std::int64_t start = 0;
        if (playback.seeking)
            static_cast<void>(playback.seeking->SetPositions(&start, kSeekingAbsolute, nullptr, kSeekingNoPositioning));
        static_cast<void>(playback.control->Run());
        playback.state = kPlaybackPlaying;
        m_ports.ui.DebugOutput("=== Cur Stop, Now Play ===\r\n");
    }
    return 1;
}

// Stepping shows a still frame: a playing graph pauses first and the host's
// main window hears where the last frame was.
int CameraViewer::PauseForStep() {
    Playback& playback = m_state.playback;
    if (playback.state != kPlaybackPlaying) return 0;
    static_cast<void>(playback.control->Pause());
    playback.state = kPlaybackPaused;
    const double sampleTime = m_state.frameCallback.lastSampleTime();
    const auto whole = static_cast<std::int64_t>(sampleTime);
    const auto milliseconds = static_cast<std::int64_t>((sampleTime - static_cast<double>(whole)) * 1000.0);
    m_ports.ui.PostToMainWindow(m_notifyWindow, kMsgStepPaused, static_cast<std::uintptr_t>(whole),
                                static_cast<std::intptr_t>(milliseconds));
    return 1;
}

// One frame in the seeking format in force.
std::int64_t CameraViewer::StepLength() const { return m_state.playback.framesFormat ? 1 : m_state.averageFrameTime; }

int CameraViewer::Media_StepForward() {
    Playback& playback = m_state.playback;
    if (!playback.control || !playback.seeking) return 0;
    PauseForStep();
    if (playback.frameStep) return Succeeded(playback.frameStep->Step(1)) ? 1 : 0;
    std::int64_t current = 0;
    if (!(playback.capabilities & kSeekingCanSeekForwards) || Failed(playback.seeking->GetCurrentPosition(current)) ||
        current >= playback.endPosition)
        return 0;
    current = std::min(current + StepLength(), playback.endPosition);
    std::int64_t stop = playback.endPosition;
    return Succeeded(playback.seeking->SetPositions(&current, kSeekingAbsolute, &stop, kSeekingAbsolute)) ? 1 : 0;
}

int CameraViewer::Media_StepBack() {
    Playback& playback = m_state.playback;
    if (!playback.control || !playback.seeking) return 0;
    PauseForStep();
    std::int64_t current = 0;
    if (Failed(playback.seeking->GetCurrentPosition(current))) return 0;
    current = std::max<std::int64_t>(current - StepLength(), 0);
    playback.stepCounter -= 2;
    return Succeeded(playback.seeking->SetPositions(&current, kSeekingAbsolute, nullptr, kSeekingNoPositioning)) ? 1
                                                                                                                 : 0;
}

int CameraViewer::Media_Rewind() {
    Playback& playback = m_state.playback;
    if (!playback.control || !playback.seeking) return 0;
    std::int64_t current = 0;
    if (Failed(playback.seeking->GetCurrentPosition(current))) return 0;
    if (current == playback.startPosition) return 1;
    PauseForStep();
    std::int64_t start = playback.startPosition;
    return Succeeded(playback.seeking->SetPositions(&start, kSeekingAbsolute, nullptr, kSeekingNoPositioning)) ? 1 : 0;
}

int CameraViewer::Media_IsRunning() {
    platform::GraphState state = platform::GraphState::Stopped;
    const auto& control = m_state.playback.control;
    return control && Succeeded(control->GetState(state)) && state == platform::GraphState::Running;
}

}  // namespace kv::ctrl
