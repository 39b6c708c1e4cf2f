// The bridge-register extension unit: one 4-byte control (id 1) that writes a
// bridge register, or latches an address whose value the next get returns.
#pragma once

#include <span>

#include "sim/hw/Hardware.h"
#include "wire/KsProperty.h"

namespace kv::sim {

// Set: {address low, address high, value, 0x00} writes; {low, high, 0x00,
// 0xFF} latches the address for reading. Get: {low, high, value, 0x00} of the
// latched register. Sets and gets are exactly 4 bytes; anything else stalls
// (a zero-length get is a size query).
Answer BridgeXuRequest(Hardware& hw, const wire::KsRequest& request, std::span<std::uint8_t> data);

}  // namespace kv::sim
