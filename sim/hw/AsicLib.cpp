// ClientPropertyPageLIB family: bridge register reads and writes.
#include "sim/hw/AsicLib.h"

namespace kv::sim {

Answer AsicRead(Hardware& hw, std::uint32_t reg, std::int32_t& value) {
    if (!hw.config.asicLib) return Answer{platform::kE_FAIL, 0, 0};
    value = hw.bridge.Read(static_cast<std::uint16_t>(reg));
    return Answer{};
}

Answer AsicWrite(Hardware& hw, std::uint32_t reg, std::int32_t value) {
    if (!hw.config.asicLib) return Answer{platform::kE_FAIL, 0, 0};
    hw.bridge.Write(static_cast<std::uint16_t>(reg), static_cast<std::uint8_t>(value));
    return Answer{};
}

}  // namespace kv::sim
