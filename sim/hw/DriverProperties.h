// The camera driver's own property set: one 32-bit value per property id,
// set through IKsPropertySet the way the camera object does it.
#pragma once

#include <span>

#include "sim/hw/Hardware.h"

namespace kv::sim {

// What QuerySupported reports: the set takes sets only.
constexpr std::uint32_t kDriverSupport = 2;

// A set's instance and data are each the driver's 40-byte block (the set's
// GUID, the property id, 2, the value in bytes 24-27, zeros after it), the
// same block twice. A block of another size, naming another set, id or
// flags, with bytes after the value, or differing between instance and data
// stalls; an id the rig does not list answers 0x80070490, a camera without
// the set 0x80070492.
Answer DriverPropertySet(Hardware& hw, std::uint32_t id, std::span<const std::uint8_t> instance,
                         std::span<const std::uint8_t> data);
// The set is write-only: a get is a request type it does not take.
Answer DriverPropertyGet(Hardware& hw, std::uint32_t id);
// The support query of a listed id.
Answer DriverPropertySupport(Hardware& hw, std::uint32_t id);

}  // namespace kv::sim
