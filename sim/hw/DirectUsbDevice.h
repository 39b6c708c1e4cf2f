// The direct USB device of the 0x09B0 model: class requests to its extension
// unit (unit 3, interface 0) that become I2C transfers.
#pragma once

#include <cstdint>
#include <span>

#include "sim/hw/Hardware.h"

namespace kv::sim {

// The 8-byte setup packet, as it goes on the wire (little-endian words).
struct UsbSetup {
    std::uint8_t requestType = 0;
    std::uint8_t request = 0;
    std::uint16_t value = 0;
    std::uint16_t index = 0;
    std::uint16_t length = 0;

    static UsbSetup FromBytes(std::span<const std::uint8_t, 8> bytes);
};

// Requests understood (wIndex 0x0300):
//   0x21 0x01 wValue 0x0300, 4 bytes {slave, reg high, reg low, value}: write
//   0x21 0x01 wValue 0x0301, 3 bytes {slave, reg high, reg low}: address for a read
//   0xA1 0x81 wValue 0x0301, 1 byte in: the register at that address
//   0x21 0x01 wValue 0x0302, 3 bytes {slave, reg, value}: one-byte-address write
// Anything else, a buffer shorter than wLength, or a transfer that no I2C
// device acknowledges stalls: the answer fails and nothing is transferred.
// On success bytesReturned is the number of bytes transferred.
Answer UsbControlTransfer(Hardware& hw, const UsbSetup& setup, std::span<std::uint8_t> buffer);

}  // namespace kv::sim
