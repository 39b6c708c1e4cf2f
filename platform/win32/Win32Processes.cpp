// Processes port on Windows.
#include <windows.h>
#include <shellapi.h>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

namespace {

class Win32StartedProcess : public StartedProcess {
public:
    explicit Win32StartedProcess(HANDLE process) : m_process(process) {}
    ~Win32StartedProcess() override { CloseHandle(m_process); }
    Win32StartedProcess(const Win32StartedProcess&) = delete;
    Win32StartedProcess& operator=(const Win32StartedProcess&) = delete;

    bool HasEnded() override { return WaitForSingleObject(m_process, 0) != WAIT_TIMEOUT; }

private:
    HANDLE m_process;
};

}  // namespace

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

std::unique_ptr<StartedProcess> Win32Processes::StartProgramHidden(const std::string& program,
                                                                   const std::string& commandLine) {
    const std::wstring application = Widen(program);
    std::wstring line = Widen(commandLine);  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        return nullptr;
    }
    CloseHandle(started.hThread);
    return std::make_unique<Win32StartedProcess>(started.hProcess);
}

}  // namespace kv::platform::win32
