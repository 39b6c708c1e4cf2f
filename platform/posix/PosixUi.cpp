// Ui port on POSIX: standard error stands in for the message box and the
// debugger output.
#include <cstdio>

#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {

void PosixUi::ShowMessageBox(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

void PosixUi::DebugOutput(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

}  // namespace kv::platform::posix
