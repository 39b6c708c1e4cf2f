// Hexadecimal texts of the state and trace files: byte strings "35 03 FF"
// and keys "0x1006".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv::sim {

// Upper-case two-digit bytes separated by single blanks; "" for none.
std::string FormatBytes(std::span<const std::uint8_t> bytes);
// The inverse; nothing when the text is not such a byte string.
std::optional<std::vector<std::uint8_t>> ParseBytes(std::string_view text);

// "0x" and `digits` upper-case hexadecimal digits.
std::string HexKey(std::uint32_t value, int digits);

}  // namespace kv::sim
