// The small text helpers every layer needs: printf-style formatting, ASCII
// lower case and hexadecimal digits. Deliberately locale-free, so that a
// device path or a log line reads the same on every machine.
#pragma once

#include <string>

namespace kv::platform {

// The compilers check the arguments against the format, by the GNU rules
// that our C++ builds format by (MinGW's included); clang takes those rules
// under the name printf and refuses gnu_printf.
#if defined(__clang__)
#define KV_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define KV_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(gnu_printf, formatIndex, firstArgument)))
#endif

// printf-style formatting into a string of whatever length it needs.
std::string FormatText(const char* format, ...) KV_PRINTF_FORMAT(1, 2);

// The text with A-Z turned into a-z and every other byte kept.
std::string ToLower(std::string text);

// The value of one hexadecimal digit (either case); -1 for any other
// character.
int HexDigitValue(char c);

}  // namespace kv::platform
