// The simulated cameras' video: the frame sizes they offer and the moving
// YUY2 test pattern they deliver, which a test can compute pixel by pixel.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv::sim::video {

struct FrameSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const FrameSize&, const FrameSize&) = default;
};

// What every simulated camera offers, the first being the default.
const std::vector<FrameSize>& DefaultFrameSizes();

// 100-ns units per frame: 30 frames a second.
constexpr std::int64_t kFrameTime = 333333;

// The bytes Y0 U Y1 V of the pixel pair that starts at even column x of row
// y in frame number `frame`: luma rises along the row and down the columns
// and moves 8 steps a frame; chroma varies by row, by pair and by frame.
std::array<std::uint8_t, 4> PatternGroup(std::int32_t x, std::int32_t y, std::uint32_t frame);

// Fills a whole frame; a buffer shorter than width x height x 2 is filled as
// far as it goes.
void FillPattern(std::uint8_t* buffer, std::size_t length, FrameSize size, std::uint32_t frame);

}  // namespace kv::sim::video
