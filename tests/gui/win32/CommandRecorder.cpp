// A stand-in for KV_DS_Ctrl.exe in the GUI's end-to-end test: appends one
// line per run to commands.txt beside itself, "<created> <start tick> <end
// tick> <command line>", after holding on for the milliseconds that
// hang_ms.txt beside it names (a command that hangs), if it exists.
// <created> is the process's creation time in 100 ns units: the order in
// which the GUI started the runs, whichever reached its first line first.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring Beside(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

DWORD HangMilliseconds() {
    FILE* file = _wfopen(Beside(L"hang_ms.txt").c_str(), L"r");
    if (!file) return 0;
    unsigned long ms = 0;
    if (std::fscanf(file, "%lu", &ms) != 1) ms = 0;
    std::fclose(file);
    return ms;
}

// One write per line on a file opened for appending: lines of runs that
// overlap do not mix.
void Record(const std::string& line) {
    HANDLE file = CreateFileW(Beside(L"commands.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

unsigned long long CreationTime() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

int main() {
    const DWORD start = GetTickCount();
    Sleep(HangMilliseconds());
    const std::wstring wide = GetCommandLineW();
    std::string commandLine(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, commandLine.data(), static_cast<int>(commandLine.size()), nullptr,
                        nullptr);
    commandLine.resize(commandLine.size() - 1);
    Record(std::to_string(CreationTime()) + " " + std::to_string(start) + " " + std::to_string(GetTickCount()) + " " +
           commandLine + "\n");
    return 0;
}
