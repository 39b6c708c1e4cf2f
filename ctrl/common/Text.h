// Small text helpers with the semantics the command-line rules are written in:
// indexes are ints, -1 means "not found", and out-of-range slices are empty
// instead of undefined.
#pragma once

#include <string>

#include "platform/TextBasics.h"

namespace kv::ctrl {

// Index of the first occurrence of needle at or after from, or -1.
int Find(const std::string& text, const std::string& needle, int from = 0);
// True when needle occurs at an index above 0 (index 0 lies in the program path).
bool FoundAfterStart(const std::string& text, const std::string& needle, int from = 0);
// Up to count characters from index start; empty when start is out of range.
std::string Mid(const std::string& text, int start, int count);
// Everything from index start to the end; empty when start is out of range.
std::string Mid(const std::string& text, int start);
using platform::ToLower;
std::string Trim(const std::string& text);
// Decimal conversion of a leading number (leading blanks and one sign
// allowed); no digits give 0.
int DecimalPrefix(const std::string& text);
// Hexadecimal conversion of a leading number; no hex digits give 0.
long HexPrefix(const std::string& text);
// Cuts UTF-8 text to at most maxChars characters without splitting one.
std::string TruncateChars(const std::string& text, std::size_t maxChars);

}  // namespace kv::ctrl
