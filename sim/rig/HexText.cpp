// Formatting and parsing of the hexadecimal texts used in state and trace.
#include "sim/rig/HexText.h"

#include <cstdio>

#include "platform/TextBasics.h"

namespace kv::sim {

std::string FormatBytes(std::span<const std::uint8_t> bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t b : bytes) {
        if (!text.empty()) text += ' ';
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> ParseBytes(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    std::size_t at = 0;
    while (at < text.size()) {
        if (!bytes.empty()) {
            if (text[at] != ' ') return std::nullopt;
            ++at;
        }
        if (at + 2 > text.size()) return std::nullopt;
        const int hi = platform::HexDigitValue(text[at]);
        const int lo = platform::HexDigitValue(text[at + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>((hi << 4) | lo));
        at += 2;
    }
    return bytes;
}

std::string HexKey(std::uint32_t value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, static_cast<unsigned>(value));
    return buf;
}

}  // namespace kv::sim
