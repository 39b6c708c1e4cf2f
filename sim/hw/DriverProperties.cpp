// Driver property set requests.
#include "sim/hw/DriverProperties.h"

#include <algorithm>

#include "wire/DriverProperty.h"
#include "wire/KsProperty.h"

namespace kv::sim {

namespace {

// Nonzero when the camera answers the id at all.
Answer Known(const Hardware& hw, std::uint32_t id) {
    if (!hw.config.driverProperties) return Answer{wire::kHrSetNotFound, 0, 0};
    if (hw.config.driverPropertyIds.count(id) == 0) return Answer{wire::kHrNotFound, 0, 0};
    return Answer{};
}

}  // namespace

Answer DriverPropertySet(Hardware& hw, std::uint32_t id, std::span<const std::uint8_t> instance,
                         std::span<const std::uint8_t> data) {
    const Answer known = Known(hw, id);
    if (!platform::Succeeded(known.hr)) return known;
    const auto value = wire::ParseDriverProperty(instance, id);
    if (!value || !std::equal(instance.begin(), instance.end(), data.begin(), data.end())) return Stall();
    hw.state.driverProperties[id] = *value;
    return Answer{};
}

Answer DriverPropertyGet(Hardware& hw, std::uint32_t id) {
    const Answer known = Known(hw, id);
    return platform::Succeeded(known.hr) ? Answer{wire::kHrNotSupported, 0, 0} : known;
}

Answer DriverPropertySupport(Hardware& hw, std::uint32_t id) { return Known(hw, id); }

}  // namespace kv::sim
