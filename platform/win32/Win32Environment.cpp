// Environment port on Windows.
#include <windows.h>
#include <shlobj.h>

#include "platform/win32/ModuleFile.h"
#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

std::string Win32Environment::RawCommandLine() const { return Narrow(GetCommandLineW()); }

std::string Win32Environment::ModulePath() const {
    const auto path = ModuleFileName(nullptr);
    return path ? Narrow(*path) : std::string();
}

// Told the size it needs when the buffer is too small.
std::string Win32Environment::CurrentDirectory() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
        if (length == 0) return {};
        if (length < path.size()) return Narrow(path.substr(0, length));
        path.resize(length);
    }
}

bool Win32Environment::GetOsVersion(OsVersion& version) const {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
    if (!GetVersionExA(&info)) return false;
    version = OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
    return true;
}

namespace {

// One 4-byte token query, in a token opened for it.
std::optional<std::uint32_t> QueryToken(TOKEN_INFORMATION_CLASS what) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
    DWORD answer = 0;
    DWORD length = 0;
    const BOOL ok = GetTokenInformation(token, what, &answer, sizeof answer, &length);
    CloseHandle(token);
    if (!ok || length != sizeof answer) return std::nullopt;
    return answer;
}

}  // namespace

std::optional<std::uint32_t> Win32Environment::TokenElevationType() const { return QueryToken(::TokenElevationType); }

std::optional<std::uint32_t> Win32Environment::TokenElevation() const { return QueryToken(::TokenElevation); }

std::string Win32Environment::CommonDocumentsFolder() const {
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_DOCUMENTS, FALSE);
    return Narrow(folder);
}

}  // namespace kv::platform::win32
