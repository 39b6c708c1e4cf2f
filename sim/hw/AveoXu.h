// The Aveo extension unit: one 32-byte control (id 2) whose first byte is a
// command.
#pragma once

#include <span>

#include "sim/hw/Hardware.h"
#include "wire/KsProperty.h"

namespace kv::sim {

// Commands (byte 0 of a set):
//   0x01 {1, address low, address high}: selects a bridge register; the next
//        get answers {1, value, value of the next register}
//   0x03 {3, value}: writes the selected register (registers are 8 bits; the
//        block's second value byte is not used)
//   0x05 {5, d0, d1, A3, A4, slave, F}: I2C write; F bit 4: 2-byte address
//        {A4, A3}, else 1-byte {A3}; F bit 0: 2 data bytes {d0, d1}, else {d0}
//   0xE0 {0xE0, 0, 0, A3, A4, slave, F}: I2C read at that address, 1 or 2
//        bytes by F bit 0; the next get answers {0xE0, d0, d1}
//   any other byte: an extended command; bytes 1-31 are kept per command byte
// A transfer that no device acknowledges fails the set (the device stalls).
// A get answers the last block set, with the replies above filled in.
Answer AveoXuRequest(Hardware& hw, const wire::KsRequest& request, std::span<std::uint8_t> data);

}  // namespace kv::sim
