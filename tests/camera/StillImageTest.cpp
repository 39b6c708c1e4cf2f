// The still's pixels and headers: YUY2 conversion, BMP header, frame format
// bookkeeping and the frame-size list.
#include <gtest/gtest.h>

#include <vector>

#include "ctrl/camera/FrameFormat.h"
#include "ctrl/camera/StillImage.h"

namespace kv::ctrl {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Yuy2Conversion, MatchesHandComputedPixelsWithClampingAndScaling) {
    // Grey: no chroma, 100 * 220 / 256 = 85 in every channel.
    EXPECT_EQ(Yuy2Pixel(100, 128, 128), (std::array<std::uint8_t, 3>{85, 85, 85}));
    // u = -38, v = 112: red 234.5 -> 234 -> 201; green 15.65 -> 15 -> 12;
    // blue 15.17 -> 15 -> 12 (blue, green, red order).
    EXPECT_EQ(Yuy2Pixel(81, 90, 240), (std::array<std::uint8_t, 3>{12, 12, 201}));
    // Over the top: red and blue limited to 255 before scaling (219); green
    // 118.47 -> 118 -> 101.
    EXPECT_EQ(Yuy2Pixel(250, 255, 255), (std::array<std::uint8_t, 3>{219, 101, 219}));
    // Below zero: red and blue limited to 0; green 142.56 -> 142 -> 122.
    EXPECT_EQ(Yuy2Pixel(10, 0, 0), (std::array<std::uint8_t, 3>{0, 122, 0}));
    // Truncation, not rounding: 255 * 220 / 256 is 219.1, 1 * 220 / 256 is 0.
    EXPECT_EQ(Yuy2Pixel(255, 128, 128)[0], 219);
    EXPECT_EQ(Yuy2Pixel(1, 128, 128)[0], 0);
}

TEST(Yuy2Conversion, TwoPixelsPerGroupShareTheGroupsChroma) {
    const Bytes yuy2 = {100, 128, 200, 128, 81, 90, 81, 240};
    const Bytes bgr = Yuy2ToBgr(yuy2, 4, 1);
    EXPECT_EQ(bgr, (Bytes{85, 85, 85, 171, 171, 171, 12, 12, 201, 12, 12, 201}));
}

TEST(Yuy2Conversion, ShortBufferIsNotReadPastItsEndAndTheRestStaysBlack) {
    // A 4 x 2 frame needs 16 bytes; 6 give one whole group and half a group.
    const Bytes yuy2 = {100, 128, 100, 128, 50, 128};
    const Bytes bgr = Yuy2ToBgr(yuy2, 4, 2);
    ASSERT_EQ(bgr.size(), 4u * 2u * 3u);
    EXPECT_EQ(bgr[0], 85);
    EXPECT_EQ(bgr[5], 85);
    for (std::size_t i = 6; i < bgr.size(); ++i) EXPECT_EQ(bgr[i], 0) << i;
}

TEST(Yuy2Conversion, UnusableSizesGiveNothingAndNegativeHeightsCountAsRows) {
    const Bytes yuy2(16, 128);
    EXPECT_TRUE(Yuy2ToBgr(yuy2, 0, 2).empty());
    EXPECT_TRUE(Yuy2ToBgr(yuy2, -4, 2).empty());
    EXPECT_TRUE(Yuy2ToBgr(yuy2, 4, 0).empty());
    EXPECT_TRUE(Yuy2ToBgr(yuy2, 0x7FFFFFFF, 0x7FFFFFFF).empty());
    EXPECT_EQ(Yuy2ToBgr(yuy2, 4, -2).size(), 24u);
    // An odd pixel count converts the last group's first pixel only.
    EXPECT_EQ(Yuy2ToBgr(Bytes{100, 128, 200, 128, 100, 128, 200, 128}, 3, 1).size(), 9u);
}

std::uint32_t U32(const std::array<std::uint8_t, 54>& h, std::size_t at) {
    return h[at] | h[at + 1] << 8 | h[at + 2] << 16 | static_cast<std::uint32_t>(h[at + 3]) << 24;
}

TEST(BmpHeader, Width640HasTheDocumentedBytes) {
    const auto header = BmpFileHeader(640, 480, 640 * 480 * 3);
    ASSERT_TRUE(header);
    const std::array<std::uint8_t, 54> expected = {
        'B',  'M',  0x36, 0x10, 0x0E, 0x00, 0,    0,    0, 0, 54, 0, 0, 0, 40, 0, 0,    0,
        0x80, 0x02, 0,    0,    0x20, 0xFE, 0xFF, 0xFF, 1, 0, 24, 0, 0, 0, 0,  0, 0x00, 0x10,
        0x0E, 0x00, 0xC4, 0x0E, 0,    0,    0xC4, 0x0E, 0, 0, 0,  0, 0, 0, 0,  0, 0,    0};
    EXPECT_EQ(*header, expected);
}

TEST(BmpHeader, EachKnownWidthAnnouncesItsRowsTopDown) {
    const std::vector<std::pair<int, int>> known = {{640, 480}, {1280, 960}, {1600, 1200}, {2048, 1536}, {2592, 1944}};
    for (const auto& [width, rows] : known) {
        const std::uint32_t image = static_cast<std::uint32_t>(width) * rows * 3;
        const auto header = BmpFileHeader(width, rows, image);
        ASSERT_TRUE(header) << width;
        EXPECT_EQ(U32(*header, 2), 54 + image) << width;
        EXPECT_EQ(static_cast<std::int32_t>(U32(*header, 18)), width);
        EXPECT_EQ(static_cast<std::int32_t>(U32(*header, 22)), -rows);
        EXPECT_EQ(U32(*header, 34), image);
    }
    // 1280 x 1024 frames keep the 960-row header; the file size counts every
    // byte written.
    const auto tall = BmpFileHeader(1280, 1024, 1280 * 1024 * 3);
    EXPECT_EQ(static_cast<std::int32_t>(U32(*tall, 22)), -960);
    EXPECT_EQ(U32(*tall, 2), 54u + 1280 * 1024 * 3);
}

TEST(BmpHeader, OtherWidthsGetNoneAndShortFramesAnnounceOnlyTheirRows) {
    for (int width : {0, 320, 639, 800, 1024, 1920, 2591}) EXPECT_FALSE(BmpFileHeader(width, 480, 0)) << width;
    const auto header = BmpFileHeader(640, 360, 640 * 360 * 3);
    EXPECT_EQ(static_cast<std::int32_t>(U32(*header, 22)), -360);
}

TEST(FrameFormat, StoresFor1280x1024WithA960LineCopy) {
    FrameFormat format;
    BitmapInfoHeader header;
    header.width = 1280;
    header.height = 1024;
    header.bitCount = 16;
    header.sizeImage = 1280 * 1024 * 2;
    EXPECT_TRUE(format.Store(header));
    EXPECT_EQ(format.header(), header);
    EXPECT_EQ(format.width(), 1280);
    EXPECT_EQ(format.height(), 1024);
    EXPECT_EQ(format.pixels(), 1280 * 1024);
    EXPECT_EQ(format.rgbBytes(), 1280 * 1024 * 3);
    ASSERT_TRUE(format.cropped());
    EXPECT_EQ(format.cropped()->height, 960);
    EXPECT_EQ(format.cropped()->width, 1280);

    // The same size again is not taken; another size is, and drops the copy.
    EXPECT_FALSE(format.Store(header));
    BitmapInfoHeader small = header;
    small.width = 640;
    small.height = 480;
    small.sizeImage = 640 * 480 * 2;
    EXPECT_TRUE(format.Store(small));
    EXPECT_FALSE(format.cropped());
    EXPECT_EQ(format.rgbBytes(), 640 * 480 * 3);
}

TEST(FrameFormat, AFirstHeaderIsTakenEvenWithoutAnImageSize) {
    FrameFormat format;
    BitmapInfoHeader header;
    header.width = 320;
    header.height = 240;
    EXPECT_TRUE(format.Store(header));
    EXPECT_EQ(format.pixels(), 320 * 240);
}

TEST(FrameFormat, HeaderBytesRoundTrip) {
    BitmapInfoHeader header;
    header.width = -7;
    header.height = 1944;
    header.bitCount = 24;
    header.compression = 0x32595559;
    header.clrImportant = 0xFFFFFFFF;
    const auto bytes = header.ToBytes();
    EXPECT_EQ(BitmapInfoHeader::FromBytes(bytes), header);
    EXPECT_FALSE(BitmapInfoHeader::FromBytes(std::span(bytes).first(39)));
}

TEST(FrameSizeList, FindsPairsAndGivesBytesOnlyInsideTheList) {
    FrameSizeList list;
    EXPECT_FALSE(list.Find(640, 480));
    EXPECT_EQ(list.ByteAt(0), 0);
    list.Add(640, 480, 3);
    list.Add(1280, 1024, 7);
    EXPECT_TRUE(list.Find(1280, 1024));
    EXPECT_FALSE(list.Find(1024, 1280));
    EXPECT_EQ(list.ByteAt(0), 3);
    EXPECT_EQ(list.ByteAt(1), 7);
    EXPECT_EQ(list.ByteAt(2), 0);
    EXPECT_EQ(list.ByteAt(-1), 0);
}

}  // namespace
}  // namespace kv::ctrl
