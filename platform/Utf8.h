// UTF-8, the core's text, and the wide text of the registry port (UTF-16 where
// wchar_t has 16 bits, UTF-32 elsewhere). A byte or unit that is not valid
// becomes U+FFFD, as the platform's own conversions do.
#pragma once

#include <string>
#include <string_view>

namespace kv::platform {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace kv::platform
