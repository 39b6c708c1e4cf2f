// The two sample-grabber callbacks: identity and reference counts, the still
// file-name protocol, the BMP and JPEG writers, and the frame rates.
#include <gtest/gtest.h>

#include <cstring>

#include "ctrl/camera/GrabberCallbacks.h"
#include "ctrl/camera/StillImage.h"
#include "tests/fakes/FakePorts.h"

namespace kv::ctrl {
namespace {

using platform::MakeGuid;
using Bytes = std::vector<std::uint8_t>;

const platform::Guid kIidUnknown = MakeGuid("{00000000-0000-0000-C000-000000000046}");
const platform::Guid kIidSampleGrabberCB = MakeGuid("{0579154A-2B53-4994-B0D0-E773148EFF85}");
const platform::Guid kIidBaseFilter = MakeGuid("{56A86895-0AD4-11CE-B03A-0020AF0BA770}");
const platform::Guid kVideo = MakeGuid("{73646976-0000-0010-8000-00AA00389B71}");
const platform::Guid kVideoInfo = MakeGuid("{05589F80-C356-11CE-BF01-00AA0055595A}");
const platform::Guid kYuy2 = MakeGuid("{32595559-0000-0010-8000-00AA00389B71}");
const platform::Guid kMjpg = MakeGuid("{47504A4D-0000-0010-8000-00AA00389B71}");
const platform::Guid kRgb24 = MakeGuid("{E436EB7D-524F-11CE-9F53-0020AF0BA770}");
constexpr const char* kFolder = "C:\\Stills";

platform::MediaType VideoType(const platform::Guid& subType, int width, int height) {
    platform::MediaType type{kVideo, subType, kVideoInfo, Bytes(88, 0)};
    BitmapInfoHeader header;
    header.width = width;
    header.height = height;
    const auto bytes = header.ToBytes();
    std::memcpy(type.format.data() + 48, bytes.data(), bytes.size());
    return type;
}

class StillCallbackTest : public ::testing::Test {
protected:
    StillCallbackTest() {
        fakes.files.AddDirectoryTree(kFolder);
        still.SetWindow(window);
    }
    test::FakePorts fakes;
    SampleGrabberCallback1 still{fakes.files, fakes.ui};
    void* window = reinterpret_cast<void*>(0x1234);
};

TEST(GrabberCallbacks, AnswerTheirInterfacesAndKeepFixedCounts) {
    test::FakePorts fakes;
    SampleGrabberCallback1 still(fakes.files, fakes.ui);
    CSampleGrabberCB frames(fakes.ui, fakes.clock);
    for (platform::GrabberCallback* callback :
         {static_cast<platform::GrabberCallback*>(&still), static_cast<platform::GrabberCallback*>(&frames)}) {
        void* out = nullptr;
        EXPECT_EQ(callback->QueryInterface(kIidUnknown, &out), platform::kS_OK);
        EXPECT_EQ(out, callback);
        out = nullptr;
        EXPECT_EQ(callback->QueryInterface(kIidSampleGrabberCB, &out), platform::kS_OK);
        EXPECT_EQ(out, callback);
        out = &fakes;
        EXPECT_EQ(callback->QueryInterface(kIidBaseFilter, &out), platform::kE_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(callback->QueryInterface(kIidUnknown, nullptr), platform::kE_POINTER);
    }
    EXPECT_EQ(still.AddRef(), 1u);
    EXPECT_EQ(still.AddRef(), 1u);
    EXPECT_EQ(still.Release(), 2u);
    EXPECT_EQ(frames.AddRef(), 2u);
    EXPECT_EQ(frames.Release(), 1u);
    EXPECT_EQ(frames.Release(), 1u);
    EXPECT_EQ(still.SampleCB(0, nullptr), platform::kE_NOTIMPL);
    Bytes buffer(8, 0);
    EXPECT_EQ(frames.BufferCB(0, buffer.data(), 8), platform::kS_OK);
}

TEST_F(StillCallbackTest, RefusesAnythingButAVideoInfoVideoFormat) {
    Bytes buffer(640 * 480 * 2, 128);
    const auto length = static_cast<std::int32_t>(buffer.size());
    EXPECT_EQ(still.BufferCB(0, buffer.data(), length), kInvalidMediaType);  // nothing connected
    auto type = VideoType(kYuy2, 640, 480);
    type.majorType = kYuy2;
    still.SetMediaType(type);
    EXPECT_EQ(still.BufferCB(0, buffer.data(), length), kInvalidMediaType);
    type = VideoType(kYuy2, 640, 480);
    type.format.resize(87);
    still.SetMediaType(type);
    EXPECT_EQ(still.BufferCB(0, buffer.data(), length), kInvalidMediaType);
    // Another subtype is accepted and ignored.
    still.SetMediaType(VideoType(kRgb24, 640, 480));
    EXPECT_EQ(still.BufferCB(0, buffer.data(), length), platform::kS_OK);
    EXPECT_TRUE(fakes.files.files.empty());
    EXPECT_TRUE(fakes.ui.messages.empty());
}

TEST_F(StillCallbackTest, BmpOfAKnownWidthHasHeaderAndConvertedPixels) {
    still.SetMediaType(VideoType(kYuy2, 640, 480));
    still.SetFileName("C:\\Stills\\a.bmp");
    Bytes buffer(640 * 480 * 2);
    for (std::size_t i = 0; i < buffer.size(); i += 4) {
        buffer[i] = 81;
        buffer[i + 1] = 90;
        buffer[i + 2] = 100;
        buffer[i + 3] = 240;
    }
    EXPECT_EQ(still.BufferCB(0, buffer.data(), static_cast<std::int32_t>(buffer.size())), platform::kS_OK);
    const std::string& file = fakes.files.Content("C:\\Stills\\a.bmp");
    ASSERT_EQ(file.size(), 54u + 640 * 480 * 3);
    EXPECT_EQ(file.substr(0, 2), "BM");
    const Bytes first(file.begin() + 54, file.begin() + 60);
    const auto pixel0 = Yuy2Pixel(81, 90, 240);
    const auto pixel1 = Yuy2Pixel(100, 90, 240);
    EXPECT_EQ(first, (Bytes{pixel0[0], pixel0[1], pixel0[2], pixel1[0], pixel1[1], pixel1[2]}));
    // The name was used once, and no message went to the window.
    EXPECT_EQ(still.fileName(), "");
    EXPECT_TRUE(fakes.ui.messages.empty());
}

TEST_F(StillCallbackTest, OtherWidthsAreWrittenWithoutHeader) {
    still.SetMediaType(VideoType(kYuy2, 320, 240));
    still.SetFileName("C:\\Stills\\b.raw");
    Bytes buffer(320 * 240 * 2, 128);
    EXPECT_EQ(still.BufferCB(0, buffer.data(), static_cast<std::int32_t>(buffer.size())), platform::kS_OK);
    EXPECT_EQ(fakes.files.Content("C:\\Stills\\b.raw").size(), 320u * 240 * 3);
}

TEST_F(StillCallbackTest, AsksTheWindowForANameAndTellsItWhenWritten) {
    still.SetMediaType(VideoType(kYuy2, 320, 240));
    fakes.ui.onSend = [&](const test::FakeUi::Message& message) {
        if (message.message == kMsgStillNameWanted) still.SetFileName("C:\\Stills\\asked.raw");
    };
    Bytes buffer(320 * 240 * 2, 128);
    EXPECT_EQ(still.BufferCB(0, buffer.data(), static_cast<std::int32_t>(buffer.size())), platform::kS_OK);
    ASSERT_EQ(fakes.ui.messages.size(), 2u);
    EXPECT_EQ(fakes.ui.messages[0].how, "send");
    EXPECT_EQ(fakes.ui.messages[0].window, window);
    EXPECT_EQ(fakes.ui.messages[0].message, 0x8014u);
    EXPECT_EQ(fakes.ui.messages[1].message, 0x8015u);
    EXPECT_EQ(fakes.files.Content("C:\\Stills\\asked.raw").size(), 320u * 240 * 3);
}

TEST_F(StillCallbackTest, AFileThatCannotBeCreatedShowsTheMessageAndIsNotAnnounced) {
    still.SetMediaType(VideoType(kYuy2, 640, 480));
    fakes.files.failCreating = true;
    Bytes buffer(640 * 480 * 2, 128);
    EXPECT_EQ(still.BufferCB(0, buffer.data(), static_cast<std::int32_t>(buffer.size())), platform::kS_FALSE);
    EXPECT_EQ(fakes.ui.messageBoxes, std::vector<std::string>{"INVALID_HANDLE_VALUE"});
    ASSERT_EQ(fakes.ui.messages.size(), 1u);  // 0x8014 only
    still.SetMediaType(VideoType(kMjpg, 640, 480));
    EXPECT_EQ(still.BufferCB(0, buffer.data(), 100), platform::kS_FALSE);
    EXPECT_EQ(fakes.ui.messageBoxes.back(), "INVALID_FILE_PATH");
}

TEST_F(StillCallbackTest, AnInterruptedWriteLeavesNoFile) {
    still.SetMediaType(VideoType(kYuy2, 640, 480));
    still.SetFileName("C:\\Stills\\cut.bmp");
    fakes.files.failWritingAfter = 1000;
    Bytes buffer(640 * 480 * 2, 128);
    EXPECT_EQ(still.BufferCB(0, buffer.data(), static_cast<std::int32_t>(buffer.size())), platform::kS_FALSE);
    EXPECT_EQ(fakes.files.files.count("C:\\Stills\\cut.bmp"), 0u);
    EXPECT_EQ(fakes.files.removed, std::vector<std::string>{"C:\\Stills\\cut.bmp"});

    still.SetMediaType(VideoType(kMjpg, 640, 480));
    still.SetFileName("C:\\Stills\\cut.jpg");
    EXPECT_EQ(still.BufferCB(0, buffer.data(), 5000), platform::kS_FALSE);
    EXPECT_EQ(fakes.files.files.count("C:\\Stills\\cut.jpg"), 0u);
}

TEST_F(StillCallbackTest, JpegIsWrittenUnchanged) {
    still.SetMediaType(VideoType(kMjpg, 640, 480));
    still.SetFileName("C:\\Stills\\c.jpg");
    Bytes jpeg = {0xFF, 0xD8, 0x00, 0x10, 0xFF, 0xD9};
    EXPECT_EQ(still.BufferCB(0, jpeg.data(), 6), platform::kS_OK);
    EXPECT_EQ(fakes.files.Content("C:\\Stills\\c.jpg"), std::string("\xFF\xD8\x00\x10\xFF\xD9", 6));
    EXPECT_EQ(still.fileName(), "");
}

TEST(FrameCallback, MeasuresRatesCountsAndPostsWhenAsked) {
    test::FakePorts fakes;
    CSampleGrabberCB frames(fakes.ui, fakes.clock);
    void* window = reinterpret_cast<void*>(0x99);
    frames.SetWindow(window);
    fakes.clock.ticks = 5000;
    EXPECT_EQ(frames.SampleCB(0.0, nullptr), platform::kS_OK);
    EXPECT_EQ(frames.currentRate(), 0.0);  // one frame has no rate yet
    fakes.clock.ticks = 5040;
    frames.SampleCB(0.04, nullptr);
    EXPECT_DOUBLE_EQ(frames.currentRate(), 25.0);
    EXPECT_DOUBLE_EQ(frames.meanRate(), 2 * 1000.0 / 40);
    fakes.clock.ticks = 5040;  // same millisecond: the rates stay
    frames.SampleCB(0.05, nullptr);
    EXPECT_DOUBLE_EQ(frames.currentRate(), 25.0);
    EXPECT_EQ(frames.frameCounter(), 3u);
    EXPECT_DOUBLE_EQ(frames.frameTotal(), 3.0);
    EXPECT_DOUBLE_EQ(frames.lastSampleTime(), 0.05);
    EXPECT_TRUE(fakes.ui.messages.empty());

    frames.RequestReset();
    frames.SetPosting(true);
    int sample = 0;
    fakes.clock.ticks = 5140;
    frames.SampleCB(0.1, &sample);
    EXPECT_EQ(frames.frameCounter(), 0u);
    EXPECT_DOUBLE_EQ(frames.frameTotal(), 4.0);
    EXPECT_DOUBLE_EQ(frames.currentRate(), 10.0);
    ASSERT_EQ(fakes.ui.messages.size(), 1u);
    EXPECT_EQ(fakes.ui.messages[0].how, "post");
    EXPECT_EQ(fakes.ui.messages[0].message, 0x8001u);
    EXPECT_EQ(fakes.ui.messages[0].lParam, reinterpret_cast<std::intptr_t>(&sample));

    frames.Quiet();
    frames.SampleCB(0.2, nullptr);
    EXPECT_EQ(fakes.ui.messages.size(), 1u);
}

}  // namespace
}  // namespace kv::ctrl
