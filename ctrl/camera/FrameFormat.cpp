// Format bookkeeping of the camera object.
#include "ctrl/camera/FrameFormat.h"

#include <algorithm>

namespace kv::ctrl {

namespace {

constexpr std::int32_t kCroppedLines = 64;

bool SameSize(const BitmapInfoHeader& a, const BitmapInfoHeader& b) {
    return a.width == b.width && a.height == b.height && a.sizeImage == b.sizeImage;
}

}  // namespace

bool FrameFormat::Store(const BitmapInfoHeader& header) {
    if (m_header && SameSize(*m_header, header)) return false;
    m_header = header;
    m_width = header.width;
    m_height = header.height;
    m_pixels = static_cast<std::int64_t>(m_width) * m_height;
    m_cropped.reset();
    if (m_width == 1280 && (m_height == 1024 || m_height == -1024)) {
        BitmapInfoHeader cropped = header;
        cropped.height = m_height > 0 ? m_height - kCroppedLines : m_height + kCroppedLines;
        m_cropped = cropped;
    }
    return true;
}

void FrameSizeList::Add(std::int32_t width, std::int32_t height, std::uint8_t formatByte) {
    m_sizes.emplace_back(width, height);
    m_bytes.push_back(formatByte);
}

bool FrameSizeList::Find(std::int32_t width, std::int32_t height) const {
    return std::find(m_sizes.begin(), m_sizes.end(), std::make_pair(width, height)) != m_sizes.end();
}

std::uint8_t FrameSizeList::ByteAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_sizes.size()) return 0;
    return m_bytes[static_cast<std::size_t>(index)];
}

}  // namespace kv::ctrl
