// The register library's way to one camera: bridge registers, I2C
// transfers and the extended commands, through the plug-in extension unit
// (kind 1) or the Aveo extension unit (kind 2). Each call is one whole
// sequence on the wire; the caller holds the library's mutex around it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/CaptureDevices.h"

namespace kv::ctrl::xulib {

constexpr int kPluginKind = 1;
constexpr int kAveoKind = 2;

// The I2C option flags of a transfer.
constexpr std::uint16_t kI2cHasAddress = 0x01;
constexpr std::uint16_t kI2cOption = 0x10;

struct I2cTransfer {
    std::uint16_t flags = 0;
    std::uint8_t slave = 0;  // 8-bit bus address, e.g. 0x48
    std::vector<std::uint8_t> address;
    std::vector<std::uint8_t> data;  // written, or filled by a read of data.size() bytes
};

using RegisterValue = std::array<std::uint8_t, 4>;  // little-endian
using CommandBlock = std::array<std::uint8_t, 32>;

class CameraLink {
public:
    virtual ~CameraLink() = default;
    virtual int Kind() const = 0;
    // Kind 1: SwitchHandle to this camera's plug-in device number.
    virtual platform::HResult Select() = 0;
    virtual platform::HResult RegRead(std::uint16_t address, int length, RegisterValue& value) = 0;
    virtual platform::HResult RegWrite(std::uint16_t address, int length, const RegisterValue& value) = 0;
    virtual platform::HResult I2cWrite(const I2cTransfer& transfer) = 0;
    virtual platform::HResult I2cRead(I2cTransfer& transfer) = 0;
    // The extended command. `i2cOption` is the library's I2C option (for the
    // plug-in's I2C commands); `sent` is the last block that went out (Aveo).
    virtual platform::HResult Extended(int command, CommandBlock& data, std::uint16_t i2cOption,
                                       CommandBlock& sent) = 0;
    // What closing the library does to the camera (kind 1: end).
    virtual void Close() = 0;
};

// A kind-1 camera: `unit` is the plug-in, `deviceNumber` its SwitchHandle
// argument.
std::shared_ptr<CameraLink> MakePluginLink(std::shared_ptr<platform::ExtensionUnit> unit, std::uint32_t deviceNumber);

// A kind-2 camera. The node id is the library's one Aveo node id, read at
// each transfer: the last Aveo unit found sets it for every Aveo camera.
std::shared_ptr<CameraLink> MakeAveoLink(std::shared_ptr<platform::KsControl> control,
                                         std::shared_ptr<const std::atomic<std::uint32_t>> nodeId);

}  // namespace kv::ctrl::xulib
