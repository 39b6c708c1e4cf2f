// One camera's I2C bus: every path to it (the bridge's engine, the extension
// units, the direct USB requests, the SMIUtility calls) goes through here.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "sim/hw/I2cTypes.h"

namespace kv::sim {

class I2cBus {
public:
    I2cBus(const std::map<std::uint8_t, I2cDeviceSettings>& settings, std::map<std::uint8_t, I2cDeviceState>& states,
           std::vector<I2cEvent>* log);

    // `port` is the bridge's I2C port a transfer goes out on (1 or 2), for
    // the paths that switch ports; 0 for the others, which reach every
    // device. A device wired to the other port does not acknowledge.

    // False when no device acknowledges the slave address.
    bool Write(std::uint8_t slave, std::span<const std::uint8_t> address, std::span<const std::uint8_t> data,
               int port = 0);
    // False when no device acknowledges; the bytes then read as 0xFF (the
    // bus's pull-ups).
    bool Read(std::uint8_t slave, std::span<std::uint8_t> out, int port = 0);
    // An address-only write followed by a read, as a combined transfer does.
    bool ReadAt(std::uint8_t slave, std::span<const std::uint8_t> address, std::span<std::uint8_t> out, int port = 0);

    // The device at a bus address, or null when nothing is there.
    const I2cDeviceSettings* Find(std::uint8_t slave) const;

private:
    bool Acknowledges(std::uint8_t slave, int port) const;
    void Log(I2cEvent event);

    const std::map<std::uint8_t, I2cDeviceSettings>& settings_;
    std::map<std::uint8_t, I2cDeviceState>& states_;
    std::vector<I2cEvent>* log_;
};

}  // namespace kv::sim
