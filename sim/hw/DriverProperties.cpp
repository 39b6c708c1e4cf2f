// Driver property set requests.
#include "sim/hw/DriverProperties.h"

#include <algorithm>
#include <array>

namespace kv::sim {

namespace {

Answer Set(Hardware& hw, std::uint32_t id, std::span<const std::uint8_t> data) {
    if (data.size() < kDriverValueOffset + 4) return Answer{kHrInsufficientBuffer, 0, 0};
    hw.state.driverProperties[id] = static_cast<std::int32_t>(ReadLe32(data, kDriverValueOffset));
    return Answer{platform::kS_OK, 0, 0};
}

Answer Get(Hardware& hw, std::uint32_t id, std::span<std::uint8_t> data) {
    std::array<std::uint8_t, kDriverBlockSize> block{};
    const auto set = kDriverPropertySet.ToBytes();
    std::copy(set.begin(), set.end(), block.begin());
    WriteLe32(block, 16, id);
    WriteLe32(block, 20, kKsGet);
    const auto it = hw.state.driverProperties.find(id);
    WriteLe32(block, kDriverValueOffset, static_cast<std::uint32_t>(it == hw.state.driverProperties.end() ? 0 : it->second));
    // The driver takes any buffer that holds the value; it fills what fits.
    if (data.size() >= kDriverValueOffset + 4 && data.size() < kDriverBlockSize) {
        std::copy_n(block.begin(), data.size(), data.begin());
        return Answer{platform::kS_OK, static_cast<std::uint32_t>(data.size()), 0};
    }
    return AnswerGet(data, block);
}

}  // namespace

Answer DriverPropertyRequest(Hardware& hw, std::uint32_t id, std::uint32_t type, std::span<std::uint8_t> data) {
    if (!hw.config.driverProperties) return Answer{kHrSetNotFound, 0, 0};
    if (hw.config.driverPropertyIds.count(id) == 0) return Answer{kHrNotFound, 0, 0};
    switch (type) {
        case kKsSet: return Set(hw, id, data);
        case kKsGet: return Get(hw, id, data);
        case kKsSetSupport: return Answer{platform::kS_OK, 0, 0};
        default: return Answer{kHrNotSupported, 0, 0};
    }
}

}  // namespace kv::sim
