// Driver property set requests.
#include "sim/hw/DriverProperties.h"

#include <algorithm>

namespace kv::sim {

namespace {

// Nonzero when the camera answers the id at all.
Answer Known(const Hardware& hw, std::uint32_t id) {
    if (!hw.config.driverProperties) return Answer{kHrSetNotFound, 0, 0};
    if (hw.config.driverPropertyIds.count(id) == 0) return Answer{kHrNotFound, 0, 0};
    return Answer{};
}

bool IsBlockFor(std::span<const std::uint8_t> block, std::uint32_t id) {
    if (block.size() != kDriverBlockSize) return false;
    const auto set = kDriverPropertySet.ToBytes();
    const auto tail = block.subspan(kDriverValueOffset + 4);
    return std::equal(set.begin(), set.end(), block.begin()) && ReadLe32(block, 16) == id &&
           ReadLe32(block, 20) == kDriverBlockFlags &&
           std::all_of(tail.begin(), tail.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace

Answer DriverPropertySet(Hardware& hw, std::uint32_t id, std::span<const std::uint8_t> instance,
                         std::span<const std::uint8_t> data) {
    const Answer known = Known(hw, id);
    if (!platform::Succeeded(known.hr)) return known;
    if (!IsBlockFor(instance, id) || !std::equal(instance.begin(), instance.end(), data.begin(), data.end())) {
        return Stall();
    }
    hw.state.driverProperties[id] = static_cast<std::int32_t>(ReadLe32(data, kDriverValueOffset));
    return Answer{};
}

Answer DriverPropertyGet(Hardware& hw, std::uint32_t id) {
    const Answer known = Known(hw, id);
    return platform::Succeeded(known.hr) ? Answer{kHrNotSupported, 0, 0} : known;
}

Answer DriverPropertySupport(Hardware& hw, std::uint32_t id) { return Known(hw, id); }

}  // namespace kv::sim
