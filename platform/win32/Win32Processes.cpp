// Processes port on Windows.
#include <windows.h>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

bool Win32Processes::StartHidden(const std::string& commandLine) {
    return WinExec(ToAnsi(commandLine).c_str(), SW_HIDE) > 31;
}

}  // namespace kv::platform::win32
