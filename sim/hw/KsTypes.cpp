// Kernel-streaming identifiers and the property-request header parser.
#include "sim/hw/KsTypes.h"

namespace kv::sim {

std::uint32_t ReadLe32(std::span<const std::uint8_t> b, std::size_t o) {
    return static_cast<std::uint32_t>(b[o]) | (static_cast<std::uint32_t>(b[o + 1]) << 8) |
           (static_cast<std::uint32_t>(b[o + 2]) << 16) | (static_cast<std::uint32_t>(b[o + 3]) << 24);
}

void WriteLe32(std::span<std::uint8_t> b, std::size_t o, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) b[o + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::optional<KsRequest> KsRequest::Parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 24) return std::nullopt;
    KsRequest r;
    r.set = Guid::FromBytes(bytes.first(16));
    r.id = ReadLe32(bytes, 16);
    r.flags = ReadLe32(bytes, 20);
    r.size = bytes.size();
    if (bytes.size() >= 28) {
        r.node = ReadLe32(bytes, 24);
        r.hasNode = true;
    }
    return r;
}

}  // namespace kv::sim
