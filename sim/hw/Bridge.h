// The bridge chip's register file (16-bit addresses, 8-bit values) as every
// bridge path sees it, with the registers that do something when touched.
#pragma once

#include <cstdint>

#include "sim/hw/CameraConfig.h"
#include "sim/hw/CameraState.h"
#include "sim/hw/I2cBus.h"

namespace kv::sim {

constexpr std::uint16_t kRegI2cStatus = 0x0005;  // bit 4: the last extension-unit I2C transfer failed
constexpr std::uint16_t kRegI2cPort = 0x0006;    // bit 2: I2C port 2 (clear: port 1)
constexpr std::uint16_t kRegLedOut = 0x0080;     // LED line state written here
constexpr std::uint16_t kRegLedIn = 0x0084;      // ... reads back here
constexpr std::uint8_t kI2cFailedBit = 0x10;
constexpr std::uint8_t kI2cPort2Bit = 0x04;

class Bridge {
public:
    Bridge(const CameraConfig& config, BridgeState& state, I2cBus& bus);

    std::uint8_t Read(std::uint16_t address);
    void Write(std::uint16_t address, std::uint8_t value);

    // Sets or clears the failure bit of register 5 after an extension-unit I2C transfer.
    void NoteI2cResult(bool ok);
    // The I2C port the extension units' transfers go out on: 2 while bit 2
    // of register 6 is set, else 1.
    int I2cPort() const;

private:
    const CameraConfig& config_;
    BridgeState& state_;
    I2cBus& bus_;
};

}  // namespace kv::sim
