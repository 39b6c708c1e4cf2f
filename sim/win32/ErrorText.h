// The simulator's error messages: a text with the Win32 error or HRESULT
// that made it.
#pragma once

#include <windows.h>

#include <string>

namespace kv::sim::win32 {

// "text (error N)" and "text (0xXXXXXXXX)".
std::string WithWin32Error(const std::string& text, DWORD code);
std::string WithHResult(const std::string& text, HRESULT hr);

}  // namespace kv::sim::win32
