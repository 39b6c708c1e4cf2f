// Clock port on Windows.
#include <windows.h>

#include "platform/win32/Win32Adapters.h"

namespace kv::platform::win32 {

void Win32Clock::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

LocalTime Win32Clock::Now() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

std::uint32_t Win32Clock::TickCount() const { return GetTickCount(); }

}  // namespace kv::platform::win32
