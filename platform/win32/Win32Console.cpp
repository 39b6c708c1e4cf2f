// Console port on Windows: the CRT's narrow standard output in text mode.
#include <cstdio>

#include "platform/win32/Win32Adapters.h"

namespace kv::platform::win32 {

void Win32Console::WriteLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace kv::platform::win32
