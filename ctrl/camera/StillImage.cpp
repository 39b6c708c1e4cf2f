// The YUY2 conversion and the BMP header of a still.
#include "ctrl/camera/StillImage.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace kv::ctrl {

namespace {

template <class T>
void Put(std::uint8_t* at, T value) {
    auto bits = static_cast<std::uint64_t>(static_cast<std::make_unsigned_t<T>>(value));
    for (std::size_t i = 0; i < sizeof(T); ++i, bits >>= 8) at[i] = static_cast<std::uint8_t>(bits & 0xFF);
}

template <class T>
T Get(const std::uint8_t* at) {
    std::uint64_t bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) bits = (bits << 8) | at[i];
    return static_cast<T>(static_cast<std::make_unsigned_t<T>>(bits));
}

// A value in millionths, truncated toward zero, limited to a byte, then
// scaled into the 0..219 range the viewers of these stills expect.
std::uint8_t Channel(std::int64_t millionths) {
    const auto truncated = static_cast<int>(std::clamp<std::int64_t>(millionths / 1000000, 0, 255));
    return static_cast<std::uint8_t>(truncated * 220 / 256);
}

// The rows the BMP header announces for each known width.
std::optional<std::int32_t> KnownRows(std::int32_t width) {
    switch (width) {
    case 640:
        return 480;
    case 1280:
        return 960;
    case 1600:
        return 1200;
    case 2048:
        return 1536;
    case 2592:
        return 1944;
    default:
        return std::nullopt;
    }
}

}  // namespace

std::optional<BitmapInfoHeader> BitmapInfoHeader::FromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kBytes) return std::nullopt;
    const std::uint8_t* b = bytes.data();
    BitmapInfoHeader h;
    h.size = Get<std::uint32_t>(b);
    h.width = Get<std::int32_t>(b + 4);
    h.height = Get<std::int32_t>(b + 8);
    h.planes = Get<std::uint16_t>(b + 12);
    h.bitCount = Get<std::uint16_t>(b + 14);
    h.compression = Get<std::uint32_t>(b + 16);
    h.sizeImage = Get<std::uint32_t>(b + 20);
    h.xPelsPerMeter = Get<std::int32_t>(b + 24);
    h.yPelsPerMeter = Get<std::int32_t>(b + 28);
    h.clrUsed = Get<std::uint32_t>(b + 32);
    h.clrImportant = Get<std::uint32_t>(b + 36);
    return h;
}

std::array<std::uint8_t, BitmapInfoHeader::kBytes> BitmapInfoHeader::ToBytes() const {
    std::array<std::uint8_t, kBytes> bytes{};
    std::uint8_t* b = bytes.data();
    Put(b, size);
    Put(b + 4, width);
    Put(b + 8, height);
    Put(b + 12, planes);
    Put(b + 14, bitCount);
    Put(b + 16, compression);
    Put(b + 20, sizeImage);
    Put(b + 24, xPelsPerMeter);
    Put(b + 28, yPelsPerMeter);
    Put(b + 32, clrUsed);
    Put(b + 36, clrImportant);
    return bytes;
}

// The coefficients 1.370705, 0.698001, 0.337633 and 1.732446 in millionths:
// exact, where floating point would depend on the precision the thread's
// floating-point unit was left in (a Direct3D renderer in the host's process
// lowers it), and the truncation would then differ from frame to frame.
std::array<std::uint8_t, 3> Yuy2Pixel(std::uint8_t y, std::uint8_t u, std::uint8_t v) {
    const std::int64_t luma = std::int64_t{y} * 1000000;
    const std::int64_t cu = std::int64_t{u} - 128;
    const std::int64_t cv = std::int64_t{v} - 128;
    const std::int64_t red = luma + 1370705 * cv;
    const std::int64_t green = luma - 698001 * cv - 337633 * cu;
    const std::int64_t blue = luma + 1732446 * cu;
    return {Channel(blue), Channel(green), Channel(red)};
}

std::vector<std::uint8_t> Yuy2ToBgr(std::span<const std::uint8_t> yuy2, std::int32_t width, std::int32_t height) {
    // Frames of packed YUV formats may carry a negative height; the rows are
    // top-down either way.
    const std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(static_cast<long long>(height)));
    if (width <= 0 || rows == 0) return {};
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * rows;
    if (pixels > std::numeric_limits<std::uint32_t>::max() / 3) return {};

    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(pixels) * 3, 0);
    // Whole groups only: a trailing partial group lacks its chroma.
    const std::size_t groups = std::min<std::uint64_t>(yuy2.size() / 4, (pixels + 1) / 2);
    for (std::size_t g = 0; g < groups; ++g) {
        const std::uint8_t* group = yuy2.data() + g * 4;
        for (std::size_t half = 0; half < 2; ++half) {
            const std::size_t pixel = g * 2 + half;
            if (pixel >= pixels) break;
            const auto bgrPixel = Yuy2Pixel(group[half * 2], group[1], group[3]);
            std::copy(bgrPixel.begin(), bgrPixel.end(), bgr.begin() + static_cast<std::ptrdiff_t>(pixel * 3));
        }
    }
    return bgr;
}

std::optional<std::array<std::uint8_t, 54>> BmpFileHeader(std::int32_t width, std::int32_t frameRows,
                                                          std::uint32_t imageBytes) {
    const auto known = KnownRows(width);
    if (!known) return std::nullopt;
    const auto rows =
        static_cast<std::int32_t>(std::min<long long>(*known, std::llabs(static_cast<long long>(frameRows))));

    std::array<std::uint8_t, 54> header{};
    header[0] = 'B';
    header[1] = 'M';
    Put(header.data() + 2, static_cast<std::uint32_t>(54 + imageBytes));
    Put(header.data() + 10, static_cast<std::uint32_t>(54));
    BitmapInfoHeader info;
    info.width = width;
    info.height = -rows;  // negative: rows run top-down, as the frame's do
    info.bitCount = 24;
    info.sizeImage = imageBytes;
    info.xPelsPerMeter = 3780;
    info.yPelsPerMeter = 3780;
    const auto infoBytes = info.ToBytes();
    std::copy(infoBytes.begin(), infoBytes.end(), header.begin() + 14);
    return header;
}

}  // namespace kv::ctrl
