// Ui port on Windows.
#include <windows.h>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

void Win32Ui::ShowMessageBox(const std::string& text) {
    MessageBoxW(nullptr, Widen(text).c_str(), L"KV_DS_Ctrl", MB_OK);
}

void Win32Ui::DebugOutput(const std::string& text) { OutputDebugStringA(ToAnsi(text).c_str()); }

// A null window would address the thread's own queue (posting) or nothing
// (sending): both are refused.
bool Win32Ui::SendWindowMessage(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!window) return false;
    SendMessageW(static_cast<HWND>(window), message, wParam, lParam);
    return true;
}

bool Win32Ui::PostWindowMessage(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return window && PostMessageW(static_cast<HWND>(window), message, wParam, lParam) != FALSE;
}

bool Win32Ui::PostToMainWindow(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    HWND main = window ? GetAncestor(static_cast<HWND>(window), GA_ROOTOWNER) : nullptr;
    return main && PostMessageW(main, message, wParam, lParam) != FALSE;
}

}  // namespace kv::platform::win32
