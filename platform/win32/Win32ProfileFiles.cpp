// Profile-file port on Windows: the platform's private-profile calls.
#include <windows.h>

#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Adapters.h"

namespace kv::platform::win32 {

std::string Win32ProfileFiles::ReadString(const std::string& path, const std::string& section, const std::string& key,
                                          const std::string& defaultValue, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    std::vector<wchar_t> buffer(bufferSize, L'\0');
    const DWORD length =
        GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(defaultValue).c_str(), buffer.data(),
                                 static_cast<DWORD>(buffer.size()), Widen(path).c_str());
    return Narrow(std::wstring(buffer.data(), length));
}

bool Win32ProfileFiles::WriteString(const std::string& path, const std::string& section, const std::string& key,
                                    const std::string& value) {
    return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                      Widen(path).c_str()) != FALSE;
}

}  // namespace kv::platform::win32
