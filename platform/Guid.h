// A 16-byte GUID in the platform's memory layout, with the usual text form.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kv::platform {

struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", braces optional, any case.
    static std::optional<Guid> Parse(std::string_view text);
    // Reads the 16 bytes as the platform stores a GUID (first three fields
    // little-endian); needs at least 16 bytes.
    static Guid FromBytes(std::span<const std::uint8_t> bytes);

    std::array<std::uint8_t, 16> ToBytes() const;
    // Upper-case text with braces, as the platform's string form shows it.
    std::string ToString() const;

    friend bool operator==(const Guid&, const Guid&) = default;
    friend auto operator<=>(const Guid&, const Guid&) = default;
};

// Parses a GUID literal that is known to be well-formed.
Guid MakeGuid(std::string_view text);

}  // namespace kv::platform
