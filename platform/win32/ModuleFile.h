// The full path of a loaded module (an executable or a DLL).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace kv::platform::win32 {

// Nothing when the system does not tell it; `module` null is the program.
// The call cuts the path to the buffer and says so only by filling it, so
// the buffer grows until the path fits: a deep install folder is never taken
// for a shorter one.
std::optional<std::wstring> ModuleFileName(HMODULE module);

// The module whose code holds `address` (our own DLL, from inside it).
HMODULE ModuleAt(const void* address);

}  // namespace kv::platform::win32
