// What an I2C device on a camera's bus is (its widths) and what it holds.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace kv::sim {

// Static description of one device, by the bus address the callers use.
struct I2cDeviceSettings {
    int addressWidth = 1;      // bytes of register address, 0 to 2, most significant first
    int valueWidth = 1;        // bytes per register value, 1 or 2, most significant first
    bool paged = false;        // register 0xF0 selects the page of every other register
    bool acknowledges = true;  // false: the device ignores its address (a bus fault)
    // The bridge's I2C port the device is wired to (1 or 2), which the
    // extension units' transfers reach only while register 6 selects it;
    // 0: the rig does not say, and the device answers on either port.
    int port = 0;
};

// Mutable contents of one device.
struct I2cDeviceState {
    // Register values; for a paged device the key is (page << 16) | register.
    std::map<std::uint32_t, std::uint16_t> registers;
    std::uint32_t pointer = 0;  // register the next data byte goes to or comes from
    std::uint16_t page = 0;     // paged devices: the current page (register 0xF0)
    std::uint8_t lastByte = 0;  // address-less devices: the last byte written
    bool operator==(const I2cDeviceState&) const = default;
};

// One bus transaction as the device saw it.
struct I2cEvent {
    std::uint8_t slave = 0;
    bool read = false;
    std::vector<std::uint8_t> address;  // address phase (writes only)
    std::vector<std::uint8_t> data;     // data written, or data read
    bool ack = true;
};

// The page-select register of paged devices.
constexpr std::uint32_t kPageRegister = 0xF0;

// The device the rig assumes at a bus address when it names only the address:
// 0x78 and 0x48 (2-byte addresses, 1-byte values), 0x5D (paged, 1-byte
// addresses, 2-byte values), 0x20, 0x21 and the FLC controller 0x62 (1/1),
// 0x46 (no address, keeps the last byte). Nothing for other addresses.
std::optional<I2cDeviceSettings> DefaultI2cDevice(std::uint8_t address);

}  // namespace kv::sim
