// The driver property block's builder and parser.
#include "wire/DriverProperty.h"

#include <algorithm>

#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::wire {

DriverPropertyBytes DriverProperty(std::uint32_t id, std::int32_t value) {
    DriverPropertyBytes block{};
    const auto set = kDriverPropertySet.ToBytes();
    std::copy(set.begin(), set.end(), block.begin());
    WriteLe32(block, 16, id);
    WriteLe32(block, 20, kDriverBlockFlags);
    WriteLe32(block, kDriverValueOffset, static_cast<std::uint32_t>(value));
    return block;
}

std::optional<std::int32_t> ParseDriverProperty(std::span<const std::uint8_t> block, std::uint32_t id) {
    if (block.size() != kDriverBlockSize) return std::nullopt;
    const auto set = kDriverPropertySet.ToBytes();
    const auto tail = block.subspan(kDriverValueOffset + 4);
    const bool matches = std::equal(set.begin(), set.end(), block.begin()) && ReadLe32(block, 16) == id &&
                         ReadLe32(block, 20) == kDriverBlockFlags &&
                         std::all_of(tail.begin(), tail.end(), [](std::uint8_t b) { return b == 0; });
    if (!matches) return std::nullopt;
    return static_cast<std::int32_t>(ReadLe32(block, kDriverValueOffset));
}

}  // namespace kv::wire
