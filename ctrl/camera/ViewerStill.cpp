// CDxWnd: the camera graph a host hands over, the still pin (build,
// trigger, snapshot), the camera's running state and frame rates, and the
// property pages.
#include "ctrl/camera/DxWnd.h"

namespace kv::ctrl {

namespace {

constexpr std::int32_t kVideoControlTrigger = 8;

}  // namespace

void CDxWnd::SetCameraGraph(platform::CameraGraph graph) { m_viewer.camera = std::move(graph); }

void CDxWnd::AddFrameSize(int width, int height, std::uint8_t formatByte) {
    m_viewer.frameSizes.Add(width, height, formatByte);
}

platform::HResult CDxWnd::StillPin_Build(platform::Filter* source) {
    if (!source) return platform::kE_POINTER;
    auto& camera = m_viewer.camera;
    if (!camera.graph || !camera.builder) return platform::kE_FAIL;  // a host must build the graph first

    platform::MediaGraphs& graphs = m_ports.mediaGraphs;
    std::shared_ptr<platform::SampleGrabber> grabber;
    std::shared_ptr<platform::GraphFilter> renderer;
    if (const auto hr = graphs.CreateSampleGrabber(grabber); platform::Failed(hr)) return hr;
    if (const auto hr = graphs.CreateNullRenderer(renderer); platform::Failed(hr)) return hr;
    if (const auto hr = camera.graph->AddFilter(*grabber, "SampleGrab"); platform::Failed(hr)) return hr;
    m_viewer.stillGrabber = grabber;
    if (const auto hr = camera.graph->AddFilter(*renderer, "NullRender"); platform::Failed(hr)) return hr;
    m_viewer.nullRenderer = renderer;
    if (const auto hr = camera.builder->RenderStillStream(*source, *grabber, *renderer); platform::Failed(hr))
        return hr;

    static_cast<void>(grabber->SetOneShot(false));
    static_cast<void>(grabber->SetBufferSamples(true));
    static_cast<void>(grabber->SetCallback(&m_viewer.stillCallback, 1));
    platform::MediaType connected;
    const platform::HResult hr = grabber->GetConnectedMediaType(connected);
    if (platform::Succeeded(hr)) m_viewer.stillCallback.SetMediaType(connected);
    return hr;
}

int CDxWnd::StillPin_Snapshot(platform::Filter* source) {
    std::shared_ptr<platform::VideoControl> control;
    if (!source || platform::Failed(source->QueryVideoControl(control)) || !control) {
        m_ports.ui.ShowMessageBox("QueryInterface fail ");
        return 0;
    }
    std::shared_ptr<platform::CapturePin> pin;
    const auto& builder = m_viewer.camera.builder;
    if (!builder || platform::Failed(builder->FindStillPin(*source, pin)) || !pin) {
        m_ports.ui.ShowMessageBox("StillPin_Snapshot fail");
        return 0;
    }
    return platform::Succeeded(control->SetMode(*pin, kVideoControlTrigger)) ? 1 : 0;
}

int CDxWnd::Snapshot_Take(int formatIndex) {
    const auto& control = m_viewer.camera.control;
    if (!control) return 0;
    static_cast<void>(control->Stop());
    StillPin_SelectFormat(Format_ByteAt(formatIndex), 0);
    static_cast<void>(control->Run());
    return StillPin_Snapshot(m_viewer.camera.source.get());
}

int CDxWnd::Graph_IsRunning() {
    platform::GraphState state = platform::GraphState::Stopped;
    const auto& control = m_viewer.camera.control;
    return control && platform::Succeeded(control->GetState(state)) && state == platform::GraphState::Running;
}

double CDxWnd::Graph_FrameRate() {
    if (!m_viewer.camera.source || !m_filterPair.baseFilter) return 0.0;
    std::shared_ptr<platform::QualProp> quality;
    std::int32_t rate = 0;
    if (platform::Failed(m_filterPair.baseFilter->QueryQualProp(quality)) || !quality ||
        platform::Failed(quality->get_AvgFrameRate(rate)))
        return 0.0;
    return rate / 100.0;
}

double CDxWnd::Preview_FrameRate() { return m_viewer.frameCallback.currentRate(); }

platform::HResult CDxWnd::Device_PropertyPage(void* parentWindow) {
    if (!m_viewer.camera.source) return platform::kE_POINTER;
    return m_viewer.camera.source->ShowPropertyPages(parentWindow, "Adjust Camera");
}

}  // namespace kv::ctrl
