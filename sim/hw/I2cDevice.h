// How one I2C device takes an address phase and data bytes, and answers reads.
#pragma once

#include <cstdint>
#include <span>

#include "sim/hw/I2cTypes.h"

namespace kv::sim {

// A write transaction: the first addressWidth bytes of the address phase set
// the register pointer (surplus address bytes are ignored); each complete
// value of data is stored at the pointer, which then moves on by one. A device
// without address width takes every byte of either phase as data and keeps
// the last one.
void I2cDeviceWrite(const I2cDeviceSettings& settings, I2cDeviceState& state, std::span<const std::uint8_t> address,
                    std::span<const std::uint8_t> data);

// A read transaction at the pointer: values most significant byte first, the
// pointer moving on by one per value begun.
void I2cDeviceRead(const I2cDeviceSettings& settings, I2cDeviceState& state, std::span<std::uint8_t> out);

// Register contents as seen on the device's current page.
std::uint16_t I2cDeviceRegister(const I2cDeviceSettings& settings, const I2cDeviceState& state, std::uint32_t reg);

// Storage key of a register on a given page (paged devices) or of a plain register.
std::uint32_t I2cRegisterKey(const I2cDeviceSettings& settings, std::uint16_t page, std::uint32_t reg);

}  // namespace kv::sim
