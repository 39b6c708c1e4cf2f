// The simulated cameras' test pattern.
#include "sim/video/TestPattern.h"

#include <algorithm>

namespace kv::sim::video {

const std::vector<FrameSize>& DefaultFrameSizes() {
    static const std::vector<FrameSize> sizes = {{640, 480}, {1280, 1024}};
    return sizes;
}

std::array<std::uint8_t, 4> PatternGroup(std::int32_t x, std::int32_t y, std::uint32_t frame) {
    const auto luma = [&](std::int32_t column) {
        return static_cast<std::uint8_t>((static_cast<std::uint32_t>(column + y) + frame * 8u) & 0xFFu);
    };
    const auto u = static_cast<std::uint8_t>((static_cast<std::uint32_t>(y) * 3u + frame) & 0xFFu);
    const auto v = static_cast<std::uint8_t>((255u - static_cast<std::uint32_t>(x / 2) - frame * 2u) & 0xFFu);
    return {luma(x), u, luma(x + 1), v};
}

void FillPattern(std::uint8_t* buffer, std::size_t length, FrameSize size, std::uint32_t frame) {
    if (size.width <= 0 || size.height <= 0) return;
    const std::size_t rowBytes = static_cast<std::size_t>(size.width) * 2;
    for (std::int32_t y = 0; y < size.height; ++y) {
        const std::size_t rowStart = static_cast<std::size_t>(y) * rowBytes;
        for (std::int32_t x = 0; x < size.width; x += 2) {
            const std::size_t at = rowStart + static_cast<std::size_t>(x) * 2;
            if (at >= length) return;
            const auto group = PatternGroup(x, y, frame);
            std::copy_n(group.begin(), std::min<std::size_t>(4, length - at), buffer + at);
        }
    }
}

}  // namespace kv::sim::video
