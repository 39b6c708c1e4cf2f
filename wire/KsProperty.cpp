// The KSP_NODE builder and the property-request header parser.
#include "wire/KsProperty.h"

#include <algorithm>

namespace kv::wire {

std::uint32_t ReadLe32(std::span<const std::uint8_t> b, std::size_t o) {
    return static_cast<std::uint32_t>(b[o]) | (static_cast<std::uint32_t>(b[o + 1]) << 8) |
           (static_cast<std::uint32_t>(b[o + 2]) << 16) | (static_cast<std::uint32_t>(b[o + 3]) << 24);
}

void WriteLe32(std::span<std::uint8_t> b, std::size_t o, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) b[o + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

NodePropertyBytes NodeProperty(const platform::Guid& set, std::uint32_t id, std::uint32_t flags, std::uint32_t node) {
    NodePropertyBytes block{};
    const auto guid = set.ToBytes();
    std::copy(guid.begin(), guid.end(), block.begin());
    WriteLe32(block, 16, id);
    WriteLe32(block, 20, flags);
    WriteLe32(block, 24, node);
    return block;
}

std::optional<KsRequest> KsRequest::Parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kKsPropertySize) return std::nullopt;
    KsRequest r;
    r.set = platform::Guid::FromBytes(bytes.first(16));
    r.id = ReadLe32(bytes, 16);
    r.flags = ReadLe32(bytes, 20);
    r.size = bytes.size();
    if (bytes.size() >= 28) {
        r.node = ReadLe32(bytes, 24);
        r.hasNode = true;
    }
    return r;
}

}  // namespace kv::wire
