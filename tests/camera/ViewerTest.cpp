// The camera object's viewer operations on fake graphs: the still path,
// snapshots, running state and rates, playback with stepping, release, and
// the format, buffer and USB-list helpers.
#include <cstring>

#include "tests/camera/CameraFixture.h"
#include "tests/camera/FakeMediaGraph.h"

namespace kv::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const platform::Guid kVideo = platform::MakeGuid("{73646976-0000-0010-8000-00AA00389B71}");
const platform::Guid kVideoInfo = platform::MakeGuid("{05589F80-C356-11CE-BF01-00AA0055595A}");
const platform::Guid kRgb24 = platform::MakeGuid("{E436EB7D-524F-11CE-9F53-0020AF0BA770}");

class FakeQualProp : public platform::QualProp {
public:
    platform::HResult get_AvgFrameRate(std::int32_t& rate) override {
        rate = 2997;
        return platform::kS_OK;
    }
};

// A connected RGB24 format of 320 x 240 at 25 frames a second.
platform::MediaType Connected() {
    platform::MediaType type{kVideo, kRgb24, kVideoInfo, std::vector<std::uint8_t>(88, 0)};
    const std::int64_t frameTime = 400000;
    std::memcpy(type.format.data() + 40, &frameTime, 8);
    ctrl::BitmapInfoHeader header;
    header.width = 320;
    header.height = 240;
    header.bitCount = 24;
    const auto bytes = header.ToBytes();
    std::memcpy(type.format.data() + 48, bytes.data(), 40);
    return type;
}

class ViewerTest : public CameraTest {
protected:
    ViewerTest() {
        fakes.mediaGraphs.classes = &graphs;
        graphs.grabber->connected = Connected();
    }
    // A host's camera graph around a bound camera.
    std::shared_ptr<FakeFilter> HostGraph() {
        auto filter = BindCamera();
        filter->videoControl = videoControl;
        camera.SetCameraGraph({graphs.graph, builder, cameraControl, filter});
        return filter;
    }
    FakeMediaGraphs graphs;
    std::shared_ptr<FakeCaptureBuilder> builder = std::make_shared<FakeCaptureBuilder>(graphs.calls);
    std::shared_ptr<FakeMediaControl> cameraControl = std::make_shared<FakeMediaControl>(graphs.calls, "camera");
    std::shared_ptr<FakeVideoControl> videoControl = std::make_shared<FakeVideoControl>();
    void* window = reinterpret_cast<void*>(0x4242);
};

TEST_F(ViewerTest, StillPinBuildRendersThroughGrabberAndNullRenderer) {
    auto filter = HostGraph();
    EXPECT_EQ(camera.StillPin_Build(filter.get()), platform::kS_OK);
    EXPECT_THAT(graphs.calls,
                ElementsAre("graph.AddFilter SampleGrab", "graph.AddFilter NullRender", "builder.RenderStillStream",
                            "grabber.SetOneShot 0", "grabber.SetBufferSamples 1", "grabber.SetCallback 1",
                            "grabber.GetConnectedMediaType"));
    EXPECT_EQ(graphs.grabber->callback, &camera.viewer().stillCallback);
}

TEST_F(ViewerTest, WithoutAGraphOrGrabberClassTheStillPathFailsCleanly) {
    auto filter = BindCamera();
    EXPECT_EQ(camera.StillPin_Build(filter.get()), platform::kE_FAIL);
    EXPECT_EQ(camera.StillPin_Build(nullptr), platform::kE_POINTER);
    camera.SetCameraGraph({graphs.graph, builder, cameraControl, filter});
    graphs.grabberFails = true;
    EXPECT_EQ(camera.StillPin_Build(filter.get()), platform::kClassNotRegistered);
    EXPECT_THAT(graphs.calls, IsEmpty());
    EXPECT_EQ(camera.Snapshot_Take(0), 0);  // no video control on the filter
    EXPECT_EQ(fakes.ui.messageBoxes, std::vector<std::string>{"QueryInterface fail "});
}

TEST_F(ViewerTest, SnapshotStopsRunsAndTriggersTheStillPin) {
    HostGraph();
    camera.AddFrameSize(640, 480, 0);
    camera.AddFrameSize(1280, 1024, 1);
    EXPECT_EQ(camera.Snapshot_Take(1), 1);
    EXPECT_THAT(graphs.calls, ElementsAre("camera.Stop", "camera.Run"));
    ASSERT_EQ(videoControl->modes.size(), 1u);
    EXPECT_EQ(videoControl->modes[0].first, builder->stillPin.get());
    EXPECT_EQ(videoControl->modes[0].second, 8);
    EXPECT_EQ(camera.Graph_IsRunning(), 1);
}

TEST_F(ViewerTest, SnapshotWithoutAStillPinShowsItsMessage) {
    HostGraph();
    builder->hasStillPin = false;
    EXPECT_EQ(camera.Snapshot_Take(0), 0);
    EXPECT_EQ(fakes.ui.messageBoxes, std::vector<std::string>{"StillPin_Snapshot fail"});
    EXPECT_THAT(videoControl->modes, IsEmpty());
}

TEST_F(ViewerTest, RunningStateAndRatesNeedTheirMembers) {
    EXPECT_EQ(camera.Graph_IsRunning(), 0);
    EXPECT_EQ(camera.Media_IsRunning(), 0);
    EXPECT_EQ(camera.Graph_FrameRate(), 0.0);
    auto filter = HostGraph();
    EXPECT_EQ(camera.Graph_FrameRate(), 0.0);  // the bound filter has no IQualProp
    filter->qualProp = std::make_shared<FakeQualProp>();
    EXPECT_DOUBLE_EQ(camera.Graph_FrameRate(), 29.97);
    EXPECT_EQ(camera.Preview_FrameRate(), 0.0);
}

TEST_F(ViewerTest, PropertyPageOpensTheSourcesPagesTitledAdjustCamera) {
    EXPECT_EQ(camera.Device_PropertyPage(window), platform::kE_POINTER);
    auto filter = HostGraph();
    EXPECT_EQ(camera.Device_PropertyPage(window), platform::kS_OK);
    ASSERT_EQ(filter->propertyFrames.size(), 1u);
    EXPECT_EQ(filter->propertyFrames[0], std::make_pair(window, std::string("Adjust Camera")));
}

TEST_F(ViewerTest, MediaOpenBuildsThePlaybackGraphAndPlays) {
    camera.SetWindowHandle(window);
    graphs.graph->seeking->stop = 3 * 60 * 10000000LL + 7 * 10000000LL;  // 3:07 in 100-ns units
    EXPECT_EQ(camera.Media_Open("C:\\clips\\a.avi"), 1);
    EXPECT_THAT(graphs.calls, ElementsAre("graph.AddFilter Source", "graph.AddFilter Grabber", "grabber.SetMediaType",
                                          "source.Load C:\\clips\\a.avi", "graph.ConnectFirstPins",
                                          "grabber.GetConnectedMediaType", "graph.RenderOutput",
                                          "grabber.SetBufferSamples 0", "grabber.SetOneShot 0", "grabber.SetCallback 0",
                                          "seeking.SetRate 1.000000", "graph.SetVideoAutoShow 0", "playback.Run"));
    EXPECT_EQ(graphs.grabber->requested.subType, kRgb24);
    EXPECT_EQ(graphs.grabber->callback, &camera.viewer().frameCallback);
    const auto& playback = camera.viewer().playback;
    EXPECT_EQ(playback.state, 2);
    EXPECT_EQ(playback.durationText, "03:07");
    EXPECT_EQ(camera.viewer().averageFrameTime, 400000);
    EXPECT_EQ(camera.viewer().frameFormat.width(), 320);
    EXPECT_EQ(graphs.graph->events->window, window);
    EXPECT_EQ(graphs.graph->events->message, 0x8003);
    EXPECT_THAT(fakes.ui.debugOutput, ElementsAre("=== Cur Pause, Now Play ===\r\n"));
    EXPECT_EQ(camera.Media_IsRunning(), 1);
}

TEST_F(ViewerTest, WmvFilesAreRenderedByTheGraph) {
    EXPECT_EQ(camera.Media_Open("C:\\clips\\b.wmv"), 1);
    EXPECT_EQ(graphs.calls[2], "grabber.SetMediaType");
    EXPECT_EQ(graphs.calls[3], "graph.RenderFile C:\\clips\\b.wmv");
    EXPECT_EQ(graphs.calls[4], "grabber.GetConnectedMediaType");
}

TEST_F(ViewerTest, ARenderFailureShowsRenderFailedAndLeavesNothingOpen) {
    graphs.graph->renderResult = platform::kE_FAIL;
    EXPECT_EQ(camera.Media_Open("C:\\clips\\a.avi"), 0);
    EXPECT_EQ(fakes.ui.messageBoxes, std::vector<std::string>{"Render Failed"});
    EXPECT_EQ(camera.Media_PlayPause(), 0);
    EXPECT_EQ(camera.viewer().playback.state, -1);
}

TEST_F(ViewerTest, PlayPauseTogglesAndStartsOverFromStopped) {
    EXPECT_EQ(camera.Media_PlayPause(), 0);  // nothing open
    ASSERT_EQ(camera.Media_Open("C:\\clips\\a.avi"), 1);
    graphs.calls.clear();
    EXPECT_EQ(camera.Media_PlayPause(), 1);
    EXPECT_EQ(camera.Media_PlayPause(), 1);
    camera.viewer().playback.state = 0;  // a host that stopped the graph
    EXPECT_EQ(camera.Media_PlayPause(), 1);
    EXPECT_THAT(graphs.calls, ElementsAre("playback.Pause", "playback.Run", "playback.Stop",
                                          "seeking.SetPositions 0/1 -/0", "playback.Run"));
    EXPECT_EQ(fakes.ui.debugOutput.back(), "=== Cur Stop, Now Play ===\r\n");
}

TEST_F(ViewerTest, StepForwardPausesPostsAndSeeksOneFrameUpToTheEnd) {
    camera.SetWindowHandle(window);
    graphs.graph->seeking->stop = 1000000;
    ASSERT_EQ(camera.Media_Open("C:\\clips\\a.avi"), 1);
    camera.viewer().frameCallback.SampleCB(2.345, nullptr);
    graphs.calls.clear();
    graphs.graph->seeking->current = 500000;
    EXPECT_EQ(camera.Media_StepForward(), 1);
    EXPECT_THAT(graphs.calls, ElementsAre("playback.Pause", "seeking.SetPositions 900000/1 1000000/1"));
    ASSERT_EQ(fakes.ui.messages.size(), 1u);
    EXPECT_EQ(fakes.ui.messages[0].how, "main");
    EXPECT_EQ(fakes.ui.messages[0].message, 0x8004u);
    EXPECT_EQ(fakes.ui.messages[0].wParam, 2u);
    EXPECT_EQ(fakes.ui.messages[0].lParam, 345);
    // Paused now: no second pause; the step stops at the end, then no more.
    graphs.calls.clear();
    EXPECT_EQ(camera.Media_StepForward(), 1);
    EXPECT_EQ(graphs.graph->seeking->current, 1000000);
    EXPECT_EQ(camera.Media_StepForward(), 0);
    EXPECT_THAT(graphs.calls, ElementsAre("seeking.SetPositions 1000000/1 1000000/1"));
}

TEST_F(ViewerTest, StepForwardNeedsForwardSeekingWithoutAFrameStepper) {
    graphs.graph->seeking->capabilities = 0;
    graphs.graph->seeking->stop = 1000000;
    ASSERT_EQ(camera.Media_Open("C:\\clips\\a.avi"), 1);
    EXPECT_EQ(camera.Media_StepForward(), 0);
    EXPECT_EQ(graphs.graph->seeking->current, 0);
}

TEST_F(ViewerTest, AFrameStepperStepsOnOpenAndOnEachStepForward) {
    graphs.graph->frameStep = std::make_shared<FakeFrameStep>(graphs.calls);
    ASSERT_EQ(camera.Media_Open("C:\\clips\\a.avi"), 1);
    EXPECT_EQ(std::count(graphs.calls.begin(), graphs.calls.end(), "step.Step 1"), 1);
    EXPECT_EQ(camera.Media_StepForward(), 1);
    EXPECT_EQ(std::count(graphs.calls.begin(), graphs.calls.end(), "step.Step 1"), 2);
}

TEST_F(ViewerTest, StepsCountFramesWhenTheGraphSeeksInFrames) {
    graphs.graph->seeking->framesSupported = true;
    graphs.graph->seeking->stop = 100000000;  // 10 s
    graphs.graph->seeking->stopFrames = 250;  // frames of 40 ms
    ASSERT_EQ(camera.Media_Open("C:\\clips\\a.avi"), 1);
    EXPECT_TRUE(camera.viewer().playback.framesFormat);
    EXPECT_EQ(camera.viewer().playback.endPosition, 250);
    EXPECT_EQ(camera.viewer().playback.durationText, "00:10");
    graphs.graph->seeking->current = 10;
    EXPECT_EQ(camera.Media_StepForward(), 1);
    EXPECT_EQ(graphs.graph->seeking->current, 11);
    EXPECT_EQ(camera.Media_StepBack(), 1);
    EXPECT_EQ(graphs.graph->seeking->current, 10);
}

TEST_F(ViewerTest, AGraphThatKeepsCountingTimeAfterAcceptingFramesStepsByTheFrameTime) {
    graphs.graph->seeking->framesSupported = true;
    graphs.graph->seeking->stop = 100000000;
    graphs.graph->seeking->stopFrames = 100000000;  // the format was taken, the units stayed
    ASSERT_EQ(camera.Media_Open("C:\\clips\\a.avi"), 1);
    EXPECT_FALSE(camera.viewer().playback.framesFormat);
    EXPECT_EQ(camera.viewer().playback.durationText, "00:10");
    EXPECT_EQ(camera.Media_StepForward(), 1);
    EXPECT_EQ(graphs.graph->seeking->current, 400000);
}

TEST_F(ViewerTest, StepBackStopsAtZeroAndRewindReturnsToTheStart) {
    graphs.graph->seeking->stop = 1000000;
    ASSERT_EQ(camera.Media_Open("C:\\clips\\a.avi"), 1);
    graphs.graph->seeking->current = 300000;
    EXPECT_EQ(camera.Media_StepBack(), 1);
    EXPECT_EQ(graphs.graph->seeking->current, 0);
    EXPECT_EQ(camera.viewer().playback.stepCounter, -2);
    EXPECT_EQ(camera.viewer().playback.state, 1);

    graphs.calls.clear();
    EXPECT_EQ(camera.Media_Rewind(), 1);  // already at the start: nothing
    EXPECT_THAT(graphs.calls, IsEmpty());
    EXPECT_EQ(camera.Media_PlayPause(), 1);
    graphs.graph->seeking->current = 700000;
    graphs.calls.clear();
    EXPECT_EQ(camera.Media_Rewind(), 1);
    EXPECT_THAT(graphs.calls, ElementsAre("playback.Pause", "seeking.SetPositions 0/1 -/0"));
}

TEST_F(ViewerTest, GraphReleaseStopsBothGraphsAndForgetsThem) {
    auto filter = HostGraph();
    ASSERT_EQ(camera.StillPin_Build(filter.get()), platform::kS_OK);
    camera.SetPreviewPosting(true);
    ASSERT_EQ(camera.Media_Open("C:\\clips\\a.avi"), 1);  // releases the camera graph first
    EXPECT_EQ(camera.Graph_IsRunning(), 0);
    graphs.calls.clear();
    EXPECT_EQ(camera.Graph_Close(), 1);
    EXPECT_THAT(graphs.calls, ElementsAre("playback.Stop"));
    EXPECT_EQ(camera.Media_IsRunning(), 0);
    EXPECT_EQ(camera.Media_StepForward(), 0);
    EXPECT_EQ(camera.Media_Rewind(), 0);
    camera.viewer().frameCallback.SampleCB(0, nullptr);
    EXPECT_THAT(fakes.ui.messages, IsEmpty());  // posting was switched off
}

TEST_F(ViewerTest, FormatHelpersAndBuffers) {
    ctrl::BitmapInfoHeader header;
    header.width = 1280;
    header.height = 1024;
    const auto bytes = header.ToBytes();
    EXPECT_EQ(camera.Format_Store(bytes.data()), 1);
    EXPECT_EQ(camera.viewer().frameFormat.cropped()->height, 960);
    EXPECT_EQ(camera.Format_Store(nullptr), 0);
    camera.AddFrameSize(1600, 1200, 9);
    EXPECT_EQ(camera.Format_Find(1600, 1200), 1);
    EXPECT_EQ(camera.Format_Find(1200, 1600), 0);
    EXPECT_EQ(camera.Format_ByteAt(0), 9);
    EXPECT_EQ(camera.Format_ByteAt(1), 0);

    void* block = nullptr;
    ASSERT_EQ(camera.Buffer_Alloc(&block, 16), 1);
    ASSERT_NE(block, nullptr);
    std::memset(block, 0xAB, 16);
    void* same = block;
    EXPECT_EQ(camera.Buffer_Alloc(&block, 16), 1);
    EXPECT_EQ(block, same);  // same size: kept as it is
    EXPECT_EQ(camera.Buffer_Alloc(&block, 64), 1);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(static_cast<unsigned char*>(block)[i], 0) << i;
    int foreign = 0;
    void* notOurs = &foreign;
    EXPECT_EQ(camera.Buffer_Alloc(&notOurs, 8), 0);
    EXPECT_EQ(notOurs, &foreign);
    EXPECT_EQ(camera.Buffer_Alloc(&block, 0), 0);
    EXPECT_EQ(camera.Buffer_Alloc(nullptr, 8), 0);
}

TEST_F(ViewerTest, UsbListInitReportsALibraryThatFails) {
    EXPECT_EQ(camera.Usb_ListInit(), 1);
    EXPECT_TRUE(fakes.console.lines.empty());
    fakes.directUsb.listInitFails = true;
    EXPECT_EQ(camera.Usb_ListInit(), 0);
    EXPECT_EQ(fakes.console.lines, std::vector<std::string>{"Error initializing device list."});
}

}  // namespace
}  // namespace kv::test
