// Console port on Windows: the CRT's narrow standard output and error in
// text mode.
#include <cstdio>

#include "platform/win32/Win32Adapters.h"

namespace kv::platform::win32 {

void Win32Console::WriteLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Win32Console::WriteErrorLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace kv::platform::win32
