// The pixels of a still: the frame format header, the YUY2 to 24-bit
// conversion and the BMP file header the still writer puts before them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kv::ctrl {

// BITMAPINFOHEADER, field for field; ToBytes/FromBytes give the 40 bytes in
// the platform's little-endian layout.
struct BitmapInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;

    static constexpr std::size_t kBytes = 40;
    // Null when fewer than 40 bytes are given.
    static std::optional<BitmapInfoHeader> FromBytes(std::span<const std::uint8_t> bytes);
    std::array<std::uint8_t, kBytes> ToBytes() const;
    friend bool operator==(const BitmapInfoHeader&, const BitmapInfoHeader&) = default;
};

// Converts a YUY2 frame (groups Y0 U Y1 V, two pixels each) into
// width x |height| pixels of blue, green, red, scaled by 220/256. A buffer
// shorter than the frame is converted as far as it goes and the rest of the
// image stays black; an empty result means the size is unusable (width or
// height zero or negative width, or an image too large to hold).
std::vector<std::uint8_t> Yuy2ToBgr(std::span<const std::uint8_t> yuy2, std::int32_t width, std::int32_t height);

// One pixel pair's conversion, exposed for the arithmetic tests: returns
// blue, green, red of the pixel with luma y and the pair's chroma u, v.
std::array<std::uint8_t, 3> Yuy2Pixel(std::uint8_t y, std::uint8_t u, std::uint8_t v);

// The 54-byte BMP header for a 24-bit top-down image of `width` pixels and
// `imageBytes` of pixel data, for the widths the cameras deliver (640, 1280,
// 1600, 2048, 2592, whose rows are 480, 960, 1200, 1536, 1944); none for any
// other width. `frameRows` caps the rows announced, so that a frame with
// fewer rows than its width's usual height never gets a header promising
// rows the file does not hold.
std::optional<std::array<std::uint8_t, 54>> BmpFileHeader(std::int32_t width, std::int32_t frameRows,
                                                          std::uint32_t imageBytes);

}  // namespace kv::ctrl
