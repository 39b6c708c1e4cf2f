// The small text helpers every layer needs: printf-style formatting, ASCII
// lower case and hexadecimal digits. Deliberately locale-free, so that a
// device path or a log line reads the same on every machine.
#pragma once

#include <string>

namespace kv::platform {

// printf-style formatting into a string of whatever length it needs.
std::string FormatText(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

// The text with A-Z turned into a-z and every other byte kept.
std::string ToLower(std::string text);

// The value of one hexadecimal digit (either case); -1 for any other
// character.
int HexDigitValue(char c);

}  // namespace kv::platform
