// Environment port on Windows.
#include <windows.h>
#include <shlobj.h>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

std::string Win32Environment::RawCommandLine() const { return Narrow(GetCommandLineW()); }

std::string Win32Environment::ModulePath() const {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return Narrow(std::wstring(path, length));
}

std::string Win32Environment::CurrentDirectory() const {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, path);
    return length < MAX_PATH ? Narrow(std::wstring(path, length)) : std::string();
}

std::string Win32Environment::CommonDocumentsFolder() const {
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_DOCUMENTS, FALSE);
    return Narrow(folder);
}

}  // namespace kv::platform::win32
