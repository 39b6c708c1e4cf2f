// SMIUtility family: sensor registers and GPIO ports.
#include "sim/hw/SmiCameraAccess.h"

#include <vector>

namespace kv::sim {

namespace {

const Answer kFail{platform::kE_FAIL, 0, 0};

// Big-endian bytes of `value`, `width` of them.
std::vector<std::uint8_t> BigEndian(std::uint32_t value, int width) {
    std::vector<std::uint8_t> bytes;
    for (int i = width - 1; i >= 0; --i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return bytes;
}

I2cDeviceSettings SensorSettings(const Hardware& hw) {
    const I2cDeviceSettings* settings = hw.bus.Find(hw.config.smiSensor);
    return settings != nullptr ? *settings : I2cDeviceSettings{2, 1, false, true};
}

}  // namespace

Answer SmiSetSensorRegister(Hardware& hw, std::uint32_t reg, std::int32_t value) {
    if (!hw.config.smi) return kFail;
    const I2cDeviceSettings settings = SensorSettings(hw);
    const auto address = BigEndian(reg, settings.addressWidth);
    const auto data = BigEndian(static_cast<std::uint32_t>(value), settings.valueWidth >= 2 ? 2 : 1);
    return hw.bus.Write(hw.config.smiSensor, address, data) ? Answer{} : kFail;
}

Answer SmiGetSensorRegister(Hardware& hw, std::uint32_t reg, std::int32_t& value) {
    if (!hw.config.smi) return kFail;
    const I2cDeviceSettings settings = SensorSettings(hw);
    const auto address = BigEndian(reg, settings.addressWidth);
    std::vector<std::uint8_t> data(settings.valueWidth >= 2 ? 2 : 1);
    if (!hw.bus.ReadAt(hw.config.smiSensor, address, data)) return kFail;
    value = 0;
    for (const std::uint8_t b : data) value = (value << 8) | b;
    return Answer{};
}

Answer SmiSetGpio(Hardware& hw, std::uint32_t port, std::int32_t value) {
    if (!hw.config.smi) return kFail;
    if (port >= hw.state.smiGpio.size()) return Answer{platform::kE_INVALIDARG, 0, 0};
    hw.state.smiGpio[port] = value;
    return Answer{};
}

Answer SmiGetGpio(Hardware& hw, std::uint32_t port, std::int32_t& value) {
    if (!hw.config.smi) return kFail;
    if (port >= hw.state.smiGpio.size()) return Answer{platform::kE_INVALIDARG, 0, 0};
    value = hw.state.smiGpio[port];
    return Answer{};
}

}  // namespace kv::sim
