// The camera driver's own property set: one 32-bit value per property id.
#pragma once

#include <span>

#include "sim/hw/Hardware.h"

namespace kv::sim {

// The property data is the driver's 40-byte block: the property header
// (set, id, flags) in bytes 0-23, the value in bytes 24-27, zeros after it.
// A set stores the value; a get fills in the block. `type` is the request's
// KSPROPERTY_TYPE (get, set or set-support).
Answer DriverPropertyRequest(Hardware& hw, std::uint32_t id, std::uint32_t type, std::span<std::uint8_t> data);

constexpr std::size_t kDriverBlockSize = 40;
constexpr std::size_t kDriverValueOffset = 24;

}  // namespace kv::sim
