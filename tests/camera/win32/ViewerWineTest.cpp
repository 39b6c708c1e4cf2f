// The camera object's viewer operations on the platform's own graph under
// Wine, from a host that owns a window: the still path on a simulated
// camera's still pin, and playback of a small uncompressed video file.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "ctrl/camera/DxWnd.h"
#include "platform/win32/Win32Filter.h"
#include "sim/video/TestPattern.h"
#include "tests/camera/win32/AviWriter.h"
#include "tests/sim/win32/InstalledRig.h"

namespace kv::test {
namespace {

using Microsoft::WRL::ComPtr;
using sim::win32::test::InstalledRig;
using sim::win32::test::ListedDevice;
using sim::win32::test::ListVideoInputs;
using sim::win32::test::ScratchFolder;

const char* const kRig = R"({"devices":[{"friendlyName":"Microscope","productId":"0x0840"}]})";

// The host's window: it names the still when asked (0x8014) and notes when
// it is written (0x8015).
struct HostWindow {
    HWND window = nullptr;
    ctrl::CDxWnd* camera = nullptr;
    std::string stillName;
    int asked = 0;
    bool written = false;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == ctrl::kMsgStillNameWanted) {
            ++self->asked;
            self->camera->SetStillFileName(self->stillName);
            return 0;
        }
        if (self && message == ctrl::kMsgStillWritten) {
            self->written = true;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HostWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KvViewerHost";
        RegisterClassW(&windowClass);
        // Message-only: no display is needed to own it.
        window = CreateWindowExW(0, L"KvViewerHost", L"viewer host", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~HostWindow() { DestroyWindow(window); }

    // Handles messages until `done` holds or the time runs out.
    template <class Done>
    bool PumpUntil(Done done, std::chrono::milliseconds limit = std::chrono::milliseconds(10000)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done() && std::chrono::steady_clock::now() < end) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return done();
    }
};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ViewerWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ASSERT_TRUE(rig.installed) << rig.error;
        host.camera = &camera;
        camera.SetWindowHandle(host.window);
    }
    void TearDown() override { camera.Graph_Release(); }

    // Binds the rig's camera the way the dispatcher does and builds the
    // camera graph a viewer host would: the source in a filter graph with a
    // capture graph builder.
    std::shared_ptr<platform::Filter> BuildCameraGraph() {
        std::vector<ListedDevice> devices;
        EXPECT_EQ(ListVideoInputs(devices), S_OK);
        if (devices.size() != 1 || !devices[0].devicePath) return nullptr;
        std::string key = *devices[0].devicePath;
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(camera.Device_Init(0xA168, 0x840, key.substr(21)), 1);
        auto filter = pair.baseFilter;
        if (!filter) return nullptr;

        auto& graphs = ports->ports().mediaGraphs;
        platform::CameraGraph graph;
        graph.source = filter;
        EXPECT_EQ(graphs.CreateFilterGraph(graph.graph), S_OK);
        EXPECT_EQ(graphs.CreateCaptureGraphBuilder(*graph.graph, graph.builder), S_OK);
        EXPECT_EQ(graph.graph->AddCaptureFilter(*filter, "Camera"), S_OK);
        EXPECT_EQ(graph.graph->QueryMediaControl(graph.control), S_OK);
        camera.SetCameraGraph(graph);
        return filter;
    }

    InstalledRig rig{kRig};
    ScratchFolder scratch;
    std::unique_ptr<platform::SystemPorts> ports = platform::MakeSystemPorts(0, nullptr);
    ctrl::FilterPair pair;
    ctrl::KeptLibraries kept;
    ctrl::CDxWnd camera{ports->ports(), pair, kept};
    HostWindow host;
};

TEST_F(ViewerWineTest, SnapshotWritesTheStillPinsPatternAsABmp) {
    auto filter = BuildCameraGraph();
    ASSERT_TRUE(filter);
    ASSERT_EQ(camera.StillPin_Build(filter.get()), S_OK);
    host.stillName = (scratch.path() / "still.bmp").string();

    ASSERT_EQ(camera.Snapshot_Take(0), 1);
    ASSERT_TRUE(host.PumpUntil([&] { return host.written; })) << "no still within 10 s";
    EXPECT_EQ(host.asked, 1);
    EXPECT_EQ(camera.Graph_IsRunning(), 1);

    // The first still is frame 0 of the pattern at the default 640 x 480,
    // through the documented conversion, behind the 54-byte header.
    const std::string file = ReadFile(host.stillName);
    ASSERT_EQ(file.size(), 54u + 640 * 480 * 3);
    std::vector<std::uint8_t> yuy2(640 * 480 * 2);
    sim::video::FillPattern(yuy2.data(), yuy2.size(), {640, 480}, 0);
    const auto expected = ctrl::Yuy2ToBgr(yuy2, 640, 480);
    const auto header = ctrl::BmpFileHeader(640, 480, static_cast<std::uint32_t>(expected.size()));
    EXPECT_EQ(file.compare(0, 54, std::string(header->begin(), header->end())), 0);
    EXPECT_EQ(file.compare(54, std::string::npos, std::string(expected.begin(), expected.end())), 0);

    // A second snapshot is the pattern's next still, and moves.
    host.written = false;
    host.stillName = (scratch.path() / "second.bmp").string();
    ASSERT_EQ(camera.Snapshot_Take(0), 1);
    ASSERT_TRUE(host.PumpUntil([&] { return host.written; }));
    sim::video::FillPattern(yuy2.data(), yuy2.size(), {640, 480}, 1);
    const auto next = ctrl::Yuy2ToBgr(yuy2, 640, 480);
    EXPECT_EQ(ReadFile(host.stillName).compare(54, std::string::npos, std::string(next.begin(), next.end())), 0);
}

TEST_F(ViewerWineTest, TheStillPinTakesItsSizeFromStreamConfigAnd1280x1024GetsThe960RowHeader) {
    auto filter = BuildCameraGraph();
    ASSERT_TRUE(filter);
    // As a host would: the still pin's second size, through IAMStreamConfig.
    ComPtr<IPin> pin;
    ASSERT_EQ(platform::win32::Win32BaseFilterOf(*filter)->FindPin(L"Still", &pin), S_OK);
    ComPtr<IAMStreamConfig> config;
    ASSERT_EQ(pin.As(&config), S_OK);
    int count = 0;
    int size = 0;
    ASSERT_EQ(config->GetNumberOfCapabilities(&count, &size), S_OK);
    ASSERT_EQ(count, 2);
    AM_MEDIA_TYPE* type = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps{};
    ASSERT_EQ(config->GetStreamCaps(1, &type, reinterpret_cast<BYTE*>(&caps)), S_OK);
    EXPECT_EQ(caps.InputSize.cx, 1280);
    EXPECT_EQ(caps.InputSize.cy, 1024);
    EXPECT_EQ(config->SetFormat(type), S_OK);
    CoTaskMemFree(type->pbFormat);
    CoTaskMemFree(type);

    ASSERT_EQ(camera.StillPin_Build(filter.get()), S_OK);
    host.stillName = (scratch.path() / "large.bmp").string();
    ASSERT_EQ(camera.Snapshot_Take(0), 1);
    ASSERT_TRUE(host.PumpUntil([&] { return host.written; }));
    const std::string file = ReadFile(host.stillName);
    ASSERT_EQ(file.size(), 54u + 1280 * 1024 * 3);
    std::int32_t rows = 0;
    std::memcpy(&rows, file.data() + 22, 4);
    EXPECT_EQ(rows, -960);
    std::vector<std::uint8_t> yuy2(1280 * 1024 * 2);
    sim::video::FillPattern(yuy2.data(), yuy2.size(), {1280, 1024}, 0);
    const auto expected = ctrl::Yuy2ToBgr(yuy2, 1280, 1024);
    EXPECT_EQ(file.compare(54, std::string::npos, std::string(expected.begin(), expected.end())), 0);
}

TEST_F(ViewerWineTest, TheCapturePinStreamsToTheFrameCallbackWhileTheGraphRuns) {
    auto filter = BuildCameraGraph();
    ASSERT_TRUE(filter);
    // A preview path as a host builds it: capture pin, grabber with the
    // camera object's frame callback, null renderer.
    auto& graphs = ports->ports().mediaGraphs;
    std::shared_ptr<platform::SampleGrabber> grabber;
    std::shared_ptr<platform::GraphFilter> renderer;
    ASSERT_EQ(graphs.CreateSampleGrabber(grabber), S_OK);
    ASSERT_EQ(graphs.CreateNullRenderer(renderer), S_OK);
    const auto& graph = camera.viewer().camera;
    ASSERT_EQ(graph.graph->AddFilter(*grabber, "Preview"), S_OK);
    ASSERT_EQ(graph.graph->AddFilter(*renderer, "PreviewSink"), S_OK);
    ComPtr<ICaptureGraphBuilder2> builder;
    ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                               reinterpret_cast<void**>(builder.GetAddressOf())),
              S_OK);
    ComPtr<IGraphBuilder> rawGraph;
    IBaseFilter* source = platform::win32::Win32BaseFilterOf(*filter);
    FILTER_INFO info{};
    ASSERT_EQ(source->QueryFilterInfo(&info), S_OK);
    ASSERT_TRUE(info.pGraph);
    ASSERT_EQ(info.pGraph->QueryInterface(IID_IGraphBuilder, reinterpret_cast<void**>(rawGraph.GetAddressOf())), S_OK);
    info.pGraph->Release();
    ASSERT_EQ(builder->SetFiltergraph(rawGraph.Get()), S_OK);
    ComPtr<IBaseFilter> grabberFilter;
    ComPtr<IBaseFilter> rendererFilter;
    ASSERT_EQ(rawGraph->FindFilterByName(L"Preview", &grabberFilter), S_OK);
    ASSERT_EQ(rawGraph->FindFilterByName(L"PreviewSink", &rendererFilter), S_OK);
    ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source, grabberFilter.Get(),
                                    rendererFilter.Get()),
              S_OK);
    ASSERT_EQ(grabber->SetCallback(&camera.viewer().frameCallback, 0), S_OK);

    ASSERT_TRUE(SUCCEEDED(graph.control->Run()));  // S_FALSE: the renderer is still cueing
    EXPECT_TRUE(host.PumpUntil([&] { return camera.viewer().frameCallback.frameTotal() >= 5; }));
    EXPECT_EQ(camera.Graph_IsRunning(), 1);
    EXPECT_GT(camera.Preview_FrameRate(), 0.0);
    ASSERT_EQ(graph.control->Stop(), S_OK);
    const double frames = camera.viewer().frameCallback.frameTotal();
    Sleep(200);
    EXPECT_EQ(camera.viewer().frameCallback.frameTotal(), frames);  // nothing once stopped
    grabber->SetCallback(nullptr, 0);
}

TEST_F(ViewerWineTest, StillWithoutAHostGraphFailsAndSnapshotWithoutOneDoesNothing) {
    EXPECT_EQ(camera.StillPin_Build(nullptr), platform::kE_POINTER);
    EXPECT_EQ(camera.Snapshot_Take(0), 0);
    EXPECT_EQ(camera.Graph_IsRunning(), 0);
}

}  // namespace
}  // namespace kv::test
