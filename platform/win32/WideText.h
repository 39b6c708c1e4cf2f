// Conversions between the core's UTF-8 text and the platform's wide and
// code-page texts.
#pragma once

#include <string>

namespace kv::platform::win32 {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
// UTF-8 to the process's ANSI code page, as the platform's narrow calls expect.
std::string ToAnsi(const std::string& utf8);

}  // namespace kv::platform::win32
