// The direct USB path: one camera model is driven by class-specific control
// requests to its extension unit, which forwards them as I2C transfers to the
// image sensor (device 0x78) or to the FLC LED controller (device 0x62).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Ports.h"

namespace kv::ctrl {

class DirectUsbPath {
public:
    explicit DirectUsbPath(platform::Ports& ports);
    ~DirectUsbPath();
    DirectUsbPath(const DirectUsbPath&) = delete;
    DirectUsbPath& operator=(const DirectUsbPath&) = delete;

    // Finds the camera whose instance text is `selectedInstance` (lower case,
    // as the camera table keeps it) and opens it. 1 when an entry was found,
    // even if opening it failed; 0 otherwise. Each call starts afresh.
    int OpenDirectUsbDevice(const std::string& selectedInstance);
    // The transfer's result.
    bool UsbKWriteSensorRegister(std::uint8_t value, std::uint16_t reg);
    // The byte read; 0xFF when the read delivered nothing.
    std::uint8_t UsbKReadSensorRegister(std::uint16_t reg);
    // Direct USB for product ids 0x9B0 to 0x9BF, the register library's I2C
    // otherwise.
    bool WriteFlcRegister(std::uint8_t reg, std::uint8_t value, int productId, int dev);
    // The platform's error code saved when opening failed last (0: none yet).
    std::uint32_t LastError() const;

private:
    struct State;
    void OpenEntry();
    bool Send(std::uint8_t requestType, std::uint8_t request, std::uint16_t value, std::uint8_t* data,
              std::uint16_t length);
    platform::Ports& m_ports;
    std::unique_ptr<State> m_state;
};

}  // namespace kv::ctrl
