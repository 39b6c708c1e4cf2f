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

// Hidden, and not waited for: the handles are closed at once. Null when the
// start fails.
HANDLE StartHiddenProcess(const wchar_t* application, std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    // CreateProcessW may write into the command line: it gets its own copy.
    if (!CreateProcessW(application, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        return nullptr;
    }
    CloseHandle(started.hThread);
    return started.hProcess;
}

}  // namespace

// The first token names the program, as for the command interpreter; the
// wide call keeps every character of a path outside the ANSI code page.
bool Win32Processes::StartHidden(const std::string& commandLine) {
    const HANDLE process = StartHiddenProcess(nullptr, Widen(commandLine));
    if (process == nullptr) return false;
    CloseHandle(process);
    return true;
}

bool Win32Processes::StartElevated(const std::string& program) {
    const std::wstring file = Widen(program);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.nShow = SW_HIDE;
    return ShellExecuteExW(&info) != FALSE;
}

std::unique_ptr<StartedProcess> Win32Processes::StartProgramHidden(const std::string& program,
                                                                   const std::string& commandLine) {
    const std::wstring application = Widen(program);
    const HANDLE process = StartHiddenProcess(application.c_str(), Widen(commandLine));
    if (process == nullptr) return nullptr;
    return std::make_unique<Win32StartedProcess>(process);
}

}  // namespace kv::platform::win32
