// Playback of a small uncompressed video file through the platform's own
// file source, sample grabber and graph under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "ctrl/camera/DxWnd.h"
#include "platform/win32/Win32Adapters.h"
#include "tests/camera/win32/AviWriter.h"
#include "tests/sim/win32/WinTestSupport.h"

namespace kv::test {
namespace {

using sim::win32::test::ScratchFolder;

// The platform's window messages, with the message boxes recorded.
class RecordingUi : public platform::win32::Win32Ui {
public:
    std::vector<std::string> messageBoxes;
    void ShowMessageBox(const std::string& text) override { messageBoxes.push_back(text); }
};

class PlaybackWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        file = (scratch.path() / "clip.avi").string();
        ASSERT_TRUE(WriteAvi(file, movie));
    }
    void TearDown() override { camera.Graph_Release(); }

    // Whether the paused graph delivered a frame through the grabber after a
    // step (sample times restart at each seek, so the count tells).
    bool WaitForNewFrame(double framesBefore) {
        for (int i = 0; i < 100; ++i) {
            if (camera.viewer().frameCallback.frameTotal() > framesBefore) return true;
            Sleep(20);
        }
        return false;
    }
    std::int64_t Position() {
        std::int64_t current = -1;
        camera.viewer().playback.seeking->GetCurrentPosition(current);
        return current;
    }

    AviFormat movie;  // 20 frames of 64 x 48 at 10 a second: 2 s
    ScratchFolder scratch;
    std::string file;
    std::unique_ptr<platform::SystemPorts> system = platform::MakeSystemPorts(0, nullptr);
    // On a display a message box would wait for a user: the boxes are kept.
    RecordingUi ui;
    platform::Ports ports{system->ports().environment,
                          system->ports().files,
                          system->ports().console,
                          system->ports().clock,
                          ui,
                          system->ports().processes,
                          system->ports().comApartment,
                          system->ports().captureDevices,
                          system->ports().extensionUnits,
                          system->ports().mediaGraphs,
                          system->ports().directUsb,
                          system->ports().modules,
                          system->ports().registry,
                          system->ports().sync,
                          system->ports().profileFiles};
    ctrl::FilterPair pair;
    ctrl::KeptLibraries kept;
    ctrl::CDxWnd camera{ports, pair, kept};
};

TEST_F(PlaybackWineTest, OpensPlaysPausesStepsAndRewinds) {
    ASSERT_EQ(camera.Media_Open(file), 1);
    const auto& playback = camera.viewer().playback;
    EXPECT_EQ(playback.state, 2);
    EXPECT_EQ(camera.Media_IsRunning(), 1);
    EXPECT_EQ(camera.viewer().frameFormat.width(), 64);
    EXPECT_EQ(camera.viewer().frameFormat.height(), 48);
    EXPECT_EQ(camera.viewer().averageFrameTime, 1000000);
    EXPECT_EQ(playback.durationText, "00:02");
    EXPECT_EQ(playback.endPosition, 20000000);

    EXPECT_EQ(camera.Media_PlayPause(), 1);
    EXPECT_EQ(playback.state, 1);
    EXPECT_EQ(camera.Media_IsRunning(), 0);

    // Paused: each step moves one frame time on (or back), and the graph
    // shows the frame there through the grabber.
    ASSERT_EQ(camera.Media_Rewind(), 1);
    EXPECT_EQ(Position(), 0);
    double frames = camera.viewer().frameCallback.frameTotal();
    ASSERT_EQ(camera.Media_StepForward(), 1);
    EXPECT_EQ(Position(), 1000000);
    EXPECT_TRUE(WaitForNewFrame(frames));
    frames = camera.viewer().frameCallback.frameTotal();
    ASSERT_EQ(camera.Media_StepForward(), 1);
    EXPECT_EQ(Position(), 2000000);
    EXPECT_TRUE(WaitForNewFrame(frames));
    frames = camera.viewer().frameCallback.frameTotal();
    ASSERT_EQ(camera.Media_StepBack(), 1);
    EXPECT_EQ(Position(), 1000000);
    EXPECT_TRUE(WaitForNewFrame(frames));
    EXPECT_EQ(playback.stepCounter, -2);
    ASSERT_EQ(camera.Media_Rewind(), 1);
    EXPECT_EQ(Position(), 0);

    EXPECT_EQ(camera.Media_PlayPause(), 1);
    EXPECT_EQ(camera.Media_IsRunning(), 1);
    EXPECT_EQ(camera.Graph_Close(), 1);
    EXPECT_EQ(camera.Media_IsRunning(), 0);
}

TEST_F(PlaybackWineTest, AFileThatCannotBePlayedOpensNothing) {
    const std::string junk = (scratch.path() / "junk.avi").string();
    std::ofstream(junk) << "not a video";
    EXPECT_EQ(camera.Media_Open(junk), 0);
    EXPECT_EQ(ui.messageBoxes, std::vector<std::string>{"Render Failed"});
    EXPECT_EQ(camera.Media_PlayPause(), 0);
    EXPECT_EQ(camera.Media_IsRunning(), 0);
}

}  // namespace
}  // namespace kv::test
