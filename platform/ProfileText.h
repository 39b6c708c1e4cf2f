// Our own reading and writing of profile-file text, with the platform's
// private-profile semantics, for the platforms that have no such calls.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kv::platform {

// The value of `key` in the first section named `section` (names compared
// without regard to ASCII case, surrounding blanks ignored; a value loses its
// surrounding blanks and one pair of matching quotes), cut to at most
// bufferSize - 1 bytes without splitting a character. `defaultValue`, cut the
// same way, when there is no file text, no such section or no such key.
std::string ReadProfileString(std::optional<std::string_view> fileText, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize);

// The file text with `key` of `section` set to `value`: an existing line of
// that key is rewritten as "key=value", a missing key is added after the
// section's last line, a missing section is added at the end. Every other
// byte stays as it was; new lines end the way the file's first line does
// (CR LF for a new file, as the platform writes). Nothing when a name or the
// value could not be read back as written (a line break anywhere, "=" or a
// leading ";" or "[" in the key, "]" in the section, an empty name).
std::optional<std::string> WriteProfileString(std::string_view fileText, std::string_view section, std::string_view key,
                                              std::string_view value);

}  // namespace kv::platform
