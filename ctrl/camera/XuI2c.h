// Sensors at I2C addresses 0x48 and 0x78, one byte at a 16-bit register,
// through the vendor register library (device = the library's index).
#pragma once

#include <cstdint>

namespace kv::ctrl {

// The byte read, 0 when the read fails.
int XuI2c_Read72(int reg, int device);
int XuI2c_Read120(int reg, int device);
// Always 0.
int XuI2c_Write72(int reg, int value, int device);
int XuI2c_Write120(int reg, int value, int device);

}  // namespace kv::ctrl
