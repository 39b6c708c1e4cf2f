// Console port on POSIX.
#include <cstdio>

#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {

void PosixConsole::WriteLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void PosixConsole::WriteErrorLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace kv::platform::posix
