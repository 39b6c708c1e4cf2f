// The frame format the camera object remembers (Format_Store) and its list
// of supported frame sizes with their format bytes (Format_Find,
// Format_ByteAt).
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "ctrl/camera/StillImage.h"

namespace kv::ctrl {

class FrameFormat {
public:
    // Takes the header unless the one stored has the same size already;
    // true when it was taken.
    bool Store(const BitmapInfoHeader& header);

    const std::optional<BitmapInfoHeader>& header() const { return m_header; }
    // 1280 x 1024 frames also keep this copy 64 lines shorter (960): the
    // sensors of those cameras deliver 64 lines below the picture.
    const std::optional<BitmapInfoHeader>& cropped() const { return m_cropped; }
    std::int32_t width() const { return m_width; }
    std::int32_t height() const { return m_height; }
    std::int64_t pixels() const { return m_pixels; }
    std::int64_t rgbBytes() const { return m_pixels * 3; }

private:
    std::optional<BitmapInfoHeader> m_header;
    std::optional<BitmapInfoHeader> m_cropped;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::int64_t m_pixels = 0;
};

// Frame sizes a host found the camera offering, each with the byte that
// selects its format.
class FrameSizeList {
public:
    void Add(std::int32_t width, std::int32_t height, std::uint8_t formatByte);
    bool Find(std::int32_t width, std::int32_t height) const;
    // 0 for an index outside the list.
    std::uint8_t ByteAt(int index) const;

private:
    std::vector<std::pair<std::int32_t, std::int32_t>> m_sizes;
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace kv::ctrl
