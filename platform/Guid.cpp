// GUID text parsing and formatting, and the platform's byte layout.
#include "platform/Guid.h"

#include <cstdio>

#include "platform/TextBasics.h"

namespace kv::platform {

namespace {

// Reads `digits` hex digits at `pos`; false if any is not a hex digit.
bool ReadHex(std::string_view text, std::size_t pos, int digits, std::uint64_t& out) {
    out = 0;
    for (int i = 0; i < digits; ++i) {
        const int d = HexDigitValue(text[pos + static_cast<std::size_t>(i)]);
        if (d < 0) return false;
        out = (out << 4) | static_cast<std::uint64_t>(d);
    }
    return true;
}

}  // namespace

std::optional<Guid> Guid::Parse(std::string_view text) {
    if (text.size() == 38) {
        if (text.front() != '{' || text.back() != '}') return std::nullopt;
        text = text.substr(1, 36);
    }
    if (text.size() != 36) return std::nullopt;
    if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') return std::nullopt;
    Guid g;
    std::uint64_t v = 0;
    if (!ReadHex(text, 0, 8, v)) return std::nullopt;
    g.data1 = static_cast<std::uint32_t>(v);
    if (!ReadHex(text, 9, 4, v)) return std::nullopt;
    g.data2 = static_cast<std::uint16_t>(v);
    if (!ReadHex(text, 14, 4, v)) return std::nullopt;
    g.data3 = static_cast<std::uint16_t>(v);
    const std::size_t starts[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        if (!ReadHex(text, starts[i], 2, v)) return std::nullopt;
        g.data4[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v);
    }
    return g;
}

Guid Guid::FromBytes(std::span<const std::uint8_t> b) {
    Guid g;
    if (b.size() < 16) return g;
    g.data1 = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
              (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    g.data2 = static_cast<std::uint16_t>(b[4] | (b[5] << 8));
    g.data3 = static_cast<std::uint16_t>(b[6] | (b[7] << 8));
    for (std::size_t i = 0; i < 8; ++i) g.data4[i] = b[8 + i];
    return g;
}

std::array<std::uint8_t, 16> Guid::ToBytes() const {
    std::array<std::uint8_t, 16> b{};
    for (int i = 0; i < 4; ++i) b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(data1 >> (8 * i));
    b[4] = static_cast<std::uint8_t>(data2);
    b[5] = static_cast<std::uint8_t>(data2 >> 8);
    b[6] = static_cast<std::uint8_t>(data3);
    b[7] = static_cast<std::uint8_t>(data3 >> 8);
    for (std::size_t i = 0; i < 8; ++i) b[8 + i] = data4[i];
    return b;
}

std::string Guid::ToString() const {
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(data1),
                  static_cast<unsigned>(data2), static_cast<unsigned>(data3), data4[0], data4[1], data4[2], data4[3],
                  data4[4], data4[5], data4[6], data4[7]);
    return buf;
}

Guid MakeGuid(std::string_view text) { return Guid::Parse(text).value_or(Guid{}); }

}  // namespace kv::platform
