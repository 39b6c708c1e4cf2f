// KSP_NODE blocks.
#include "ctrl/xulib/NodeProperty.h"

#include <algorithm>

namespace kv::ctrl::xulib {

namespace {

void PutLe32(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::array<std::uint8_t, kNodePropertyLength> NodeProperty(const platform::Guid& set, std::uint32_t id,
                                                           std::uint32_t flags, std::uint32_t node) {
    std::array<std::uint8_t, kNodePropertyLength> block{};
    const auto guid = set.ToBytes();
    std::copy(guid.begin(), guid.end(), block.begin());
    PutLe32(&block[16], id);
    PutLe32(&block[20], flags);
    PutLe32(&block[24], node);
    return block;
}

}  // namespace kv::ctrl::xulib
