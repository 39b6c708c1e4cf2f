// What the stand-in ClientPropertyPageLIB reaches: the bridge register file.
#pragma once

#include <cstdint>

#include "sim/hw/Hardware.h"

namespace kv::sim {

// Registers by their low 16 address bits; reads answer the 8-bit value,
// writes take the low 8 bits. A camera without the library's family answers
// E_FAIL.
Answer AsicRead(Hardware& hw, std::uint32_t reg, std::int32_t& value);
Answer AsicWrite(Hardware& hw, std::uint32_t reg, std::int32_t value);

}  // namespace kv::sim
