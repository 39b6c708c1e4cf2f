// What the stand-in SMIUtility library reaches on its camera: the sensor's
// registers over the camera's I2C bus, and four GPIO ports.
#pragma once

#include <cstdint>

#include "sim/hw/Hardware.h"

namespace kv::sim {

// Sensor registers go to the bus device at config.smiSensor, with that
// device's address and value widths; a device that does not acknowledge
// fails the call (E_FAIL). Ports are 0 to 3 (others: E_INVALIDARG). A camera
// without the SMIUtility family answers E_FAIL to everything.
Answer SmiSetSensorRegister(Hardware& hw, std::uint32_t reg, std::int32_t value);
Answer SmiGetSensorRegister(Hardware& hw, std::uint32_t reg, std::int32_t& value);
Answer SmiSetGpio(Hardware& hw, std::uint32_t port, std::int32_t value);
Answer SmiGetGpio(Hardware& hw, std::uint32_t port, std::int32_t& value);

}  // namespace kv::sim
