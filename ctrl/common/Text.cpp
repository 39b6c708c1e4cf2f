// Text helpers for the command line, the camera table and the log.
#include "ctrl/common/Text.h"

#include <cctype>
#include <climits>

namespace kv::ctrl {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

int Find(const std::string& text, const std::string& needle, int from) {
    if (from < 0) from = 0;
    if (static_cast<std::size_t>(from) > text.size()) return -1;
    const auto at = text.find(needle, static_cast<std::size_t>(from));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

bool FoundAfterStart(const std::string& text, const std::string& needle, int from) {
    return Find(text, needle, from) > 0;
}

std::string Mid(const std::string& text, int start, int count) {
    if (start < 0 || count <= 0 || static_cast<std::size_t>(start) >= text.size()) return {};
    return text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
}

std::string Mid(const std::string& text, int start) {
    if (start < 0 || static_cast<std::size_t>(start) >= text.size()) return {};
    return text.substr(static_cast<std::size_t>(start));
}

std::string Trim(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

int DecimalPrefix(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) value = INT_MAX;  // saturate instead of overflowing
    }
    return static_cast<int>(negative ? -value : value);
}

long HexPrefix(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) i += 2;
    long long value = 0;
    for (; i < text.size() && platform::HexDigitValue(text[i]) >= 0; ++i) {
        value = value * 16 + platform::HexDigitValue(text[i]);
        if (value > LONG_MAX) value = LONG_MAX;
    }
    return static_cast<long>(value);
}

std::string TruncateChars(const std::string& text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsContinuationByte(text[i])) continue;
        if (chars == maxChars) return text.substr(0, i);
        ++chars;
    }
    return text;
}

}  // namespace kv::ctrl
