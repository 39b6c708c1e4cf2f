// Ui port on Windows.
#include <windows.h>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

void Win32Ui::ShowMessageBox(const std::string& text) {
    MessageBoxW(nullptr, Widen(text).c_str(), L"KV_DS_Ctrl", MB_OK);
}

void Win32Ui::DebugOutput(const std::string& text) { OutputDebugStringA(ToAnsi(text).c_str()); }

}  // namespace kv::platform::win32
