// The plug-in extension unit: bridge registers by the low address byte and
// I2C transfers, each announced by the length control.
#pragma once

#include <span>

#include "sim/hw/Hardware.h"
#include "wire/KsProperty.h"

namespace kv::sim {

// Controls (selectors):
//   1  length of the sets on 2 to 5 (1 byte); a set of another size stalls,
//      and so does a length other than 1 while an earlier one other than 1
//      is still in force (every sequence closes with 1)
//   2  register read: set {address low, count 1-4}; a get of exactly count
//      bytes answers them
//   3  register write: set {address low, count, value bytes}
//   4  I2C read: set {slave, count, 1} (the third byte must be 1) reads count
//      bytes; a get of exactly count bytes answers them
//   5  I2C write: set {slave, count, flag, bytes}; flag bit 0 means data
//      follows the device's address bytes, otherwise all bytes are address
//   17 kept as sent (32 bytes)
//   19 I2C write as 5, in a 32-byte block
//   0  (get) the unit's information: its property set GUID
// A failed I2C transfer sets bit 4 of bridge register 5, a good one clears it.
Answer PluginXuRequest(Hardware& hw, const wire::KsRequest& request, std::span<std::uint8_t> data);

}  // namespace kv::sim
