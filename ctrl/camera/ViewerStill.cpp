// The viewer: the camera graph a host hands over, the still pin (build,
// trigger, snapshot), the camera's running state and frame rates, and the
// property pages.
#include "ctrl/camera/Viewer.h"

namespace kv::ctrl {

namespace {

constexpr std::int32_t kVideoControlTrigger = 8;

}  // namespace

platform::HResult CameraViewer::StillPin_Build(platform::Filter* source) {
    if (!source) return platform::kE_POINTER;
    auto& camera = m_state.camera;
    if (!camera.graph || !camera.builder) return platform::kE_FAIL;  // a host must build the graph first

    platform::MediaGraphs& graphs = m_ports.mediaGraphs;
    std::shared_ptr<platform::SampleGrabber> grabber;
    std::shared_ptr<platform::GraphFilter> renderer;
    if (const auto hr = graphs.CreateSampleGrabber(grabber); platform::Failed(hr)) return hr;
    if (const auto hr = graphs.CreateNullRenderer(renderer); platform::Failed(hr)) return hr;
    if (const auto hr = camera.graph->AddFilter(*grabber, "SampleGrab"); platform::Failed(hr)) return hr;
    m_state.stillGrabber = grabber;
    if (const auto hr = camera.graph->AddFilter(*renderer, "NullRender"); platform::Failed(hr)) return hr;
    m_state.nullRenderer = renderer;
    if (const auto hr = camera.builder->RenderStillStream(*source, *grabber, *renderer); platform::Failed(hr))
        return hr;

    static_cast<void>(grabber->SetOneShot(false));
    static_cast<void>(grabber->SetBufferSamples(true));
    static_cast<void>(grabber->SetCallback(&m_state.stillCallback, 1));
    platform::MediaType connected;
    const platform::HResult hr = grabber->GetConnectedMediaType(connected);
    if (platform::Succeeded(hr)) m_state.stillCallback.SetMediaType(connected);
    return hr;
}

int CameraViewer::StillPin_Snapshot(platform::Filter* source) {
    std::shared_ptr<platform::VideoControl> control;
    if (!source || platform::Failed(source->QueryVideoControl(control)) || !control) {
        m_ports.ui.ShowMessageBox("QueryInterface fail ");
        return 0;
    }
    std::shared_ptr<platform::CapturePin> pin;
    const auto& builder = m_state.camera.builder;
    if (!builder || platform::Failed(builder->FindStillPin(*source, pin)) || !pin) {
        m_ports.ui.ShowMessageBox("StillPin_Snapshot fail");
        return 0;
    }
    return platform::Succeeded(control->SetMode(*pin, kVideoControlTrigger)) ? 1 : 0;
}

int CameraViewer::Snapshot_Take(int formatIndex, const std::function<void(std::uint8_t)>& selectFormat) {
    const auto& control = m_state.camera.control;
    if (!control) return 0;
    static_cast<void>(control->Stop());
    selectFormat(Format_ByteAt(formatIndex));
    static_cast<void>(control->Run());
    return StillPin_Snapshot(m_state.camera.source.get());
}

int CameraViewer::Graph_IsRunning() {
    platform::GraphState state = platform::GraphState::Stopped;
    const auto& control = m_state.camera.control;
    return control && platform::Succeeded(control->GetState(state)) && state == platform::GraphState::Running;
}

double CameraViewer::Graph_FrameRate() {
    if (!m_state.camera.source || !m_filterPair.baseFilter) return 0.0;
    std::shared_ptr<platform::QualProp> quality;
    std::int32_t rate = 0;
    if (platform::Failed(m_filterPair.baseFilter->QueryQualProp(quality)) || !quality ||
        platform::Failed(quality->get_AvgFrameRate(rate)))
        return 0.0;
    return rate / 100.0;
}

platform::HResult CameraViewer::Device_PropertyPage(void* parentWindow) {
    if (!m_state.camera.source) return platform::kE_POINTER;
    return m_state.camera.source->ShowPropertyPages(parentWindow, "Adjust Camera");
}

}  // namespace kv::ctrl
