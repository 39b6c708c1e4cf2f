// Everything about one simulated camera that requests change; plain data, so
// that the rig can store it between processes (and tell whether a request
// changed it).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "sim/hw/I2cTypes.h"

namespace kv::sim {

struct BridgeState {
    std::map<std::uint16_t, std::uint8_t> registers;  // absent registers read 0
    std::uint8_t engineControl = 0;                   // last control byte written to 0x10D0
    std::uint32_t engineBusyLeft = 0;                 // status reads that still answer busy
    bool operator==(const BridgeState&) const = default;
};

struct BridgeXuState {
    std::uint16_t address = 0;  // latched by the read's set step
    bool operator==(const BridgeXuState&) const = default;
};

struct PluginXuState {
    std::uint8_t length = 1;       // announced size of the next transfer (selector 1)
    std::uint8_t readAddress = 0;  // selector 2 latch
    std::uint8_t readLength = 0;
    std::vector<std::uint8_t> i2cReply;                             // selector 4: bytes of the last I2C read
    std::map<std::uint32_t, std::vector<std::uint8_t>> lastBlocks;  // selectors 3, 5, 17, 19
    bool operator==(const PluginXuState&) const = default;
};

struct AveoXuState {
    std::uint16_t address = 0;                                   // register selected by command 1
    std::vector<std::uint8_t> reply;                             // what the next get answers (32 bytes once set)
    std::map<std::uint8_t, std::vector<std::uint8_t>> extended;  // command byte -> bytes 1..31
    bool operator==(const AveoXuState&) const = default;
};

struct PropertyValue {
    std::int32_t value = 0;
    std::int32_t flags = 2;
    bool operator==(const PropertyValue&) const = default;
};

struct DirectUsbState {
    std::uint8_t readSlave = 0;  // device chosen by the last read's address step
    bool operator==(const DirectUsbState&) const = default;
};

struct CameraState {
    BridgeState bridge;
    BridgeXuState bridgeXu;
    PluginXuState pluginXu;
    AveoXuState aveoXu;
    std::map<std::uint8_t, I2cDeviceState> i2cDevices;
    std::map<std::uint32_t, std::int32_t> driverProperties;
    std::map<std::int32_t, PropertyValue> videoProcAmp;
    std::map<std::int32_t, PropertyValue> cameraControl;
    DirectUsbState usb;
    std::array<std::int32_t, 4> smiGpio{};
    bool operator==(const CameraState&) const = default;
};

}  // namespace kv::sim
