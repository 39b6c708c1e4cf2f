// Processes port on Windows.
#include <windows.h>
#include <shellapi.h>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

bool Win32Processes::StartHidden(const std::string& commandLine) {
    return WinExec(ToAnsi(commandLine).c_str(), SW_HIDE) > 31;
}

bool Win32Processes::StartElevated(const std::string& program) {
    const std::string file = ToAnsi(program);
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.lpVerb = "runas";
    info.lpFile = file.c_str();
    info.nShow = SW_HIDE;
    return ShellExecuteExA(&info) != FALSE;
}

}  // namespace kv::platform::win32
