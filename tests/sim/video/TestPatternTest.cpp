// The simulated cameras' test pattern: predictable, moving, and safe with
// short buffers.
#include <gtest/gtest.h>

#include <vector>

#include "sim/video/TestPattern.h"

namespace kv::sim::video {
namespace {

TEST(TestPattern, GroupsFollowTheFormulaAndMoveFromFrameToFrame) {
    EXPECT_EQ(PatternGroup(0, 0, 0), (std::array<std::uint8_t, 4>{0, 0, 1, 255}));
    EXPECT_EQ(PatternGroup(10, 2, 0), (std::array<std::uint8_t, 4>{12, 6, 13, 250}));
    EXPECT_EQ(PatternGroup(10, 2, 1), (std::array<std::uint8_t, 4>{20, 7, 21, 248}));
    // Luma wraps rather than saturating, so the pattern keeps moving.
    EXPECT_EQ(PatternGroup(254, 1, 0)[2], 0);
}

TEST(TestPattern, FillsRowsOfPairsAndStopsAtTheBuffersEnd) {
    std::vector<std::uint8_t> frame(4 * 2 * 2, 0xEE);
    FillPattern(frame.data(), frame.size(), {4, 2}, 3);
    const auto second = PatternGroup(2, 0, 3);
    const auto below = PatternGroup(0, 1, 3);
    EXPECT_TRUE(std::equal(second.begin(), second.end(), frame.begin() + 4));
    EXPECT_TRUE(std::equal(below.begin(), below.end(), frame.begin() + 8));

    std::vector<std::uint8_t> shortBuffer(7 + 1, 0xEE);
    FillPattern(shortBuffer.data(), 7, {4, 2}, 0);
    EXPECT_EQ(shortBuffer[6], PatternGroup(2, 0, 0)[2]);
    EXPECT_EQ(shortBuffer[7], 0xEE);
}

TEST(TestPattern, DefaultSizesStartWithVga) {
    ASSERT_EQ(DefaultFrameSizes().size(), 2u);
    EXPECT_EQ(DefaultFrameSizes()[0], (FrameSize{640, 480}));
    EXPECT_EQ(DefaultFrameSizes()[1], (FrameSize{1280, 1024}));
}

}  // namespace
}  // namespace kv::sim::video
