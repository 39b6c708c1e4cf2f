// The tray icon, its menu and the form's window state.
#include "gui/win32/Win32TrayShell.h"

#include <cstring>

#include "gui/core/MainForm.h"
#include "gui/win32/GuiResources.h"

namespace kv::gui::win32 {

namespace {

int IdOf(TrayMenuItem item) {
    switch (item) {
    case TrayMenuItem::Minimize:
        return IDM_TRAY_MINIMIZE;
    case TrayMenuItem::Maximize:
        return IDM_TRAY_MAXIMIZE;
    case TrayMenuItem::Close:
        return IDM_TRAY_CLOSE;
    }
    return 0;
}

}  // namespace

Win32TrayShell::Win32TrayShell(HWND form, HICON icon) : m_form(form), m_menu(CreatePopupMenu()) {
    AppendMenuW(m_menu, MF_STRING, IDM_TRAY_MINIMIZE, L"Minimize(&N)");
    AppendMenuW(m_menu, MF_STRING, IDM_TRAY_MAXIMIZE, L"Maximize(&X)");
    AppendMenuW(m_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m_menu, MF_STRING, IDM_TRAY_CLOSE, L"Close(&C)");
    m_icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    m_icon.hWnd = form;
    m_icon.uID = 0;
    m_icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_icon.uCallbackMessage = KV_WM_TRAY_ICON;
    m_icon.hIcon = icon;
    std::strncpy(m_icon.szTip, kFormCaption, sizeof m_icon.szTip - 1);
}

Win32TrayShell::~Win32TrayShell() { DestroyMenu(m_menu); }

// A shell that is busy can answer the add with a failure after it took the
// icon; the icon is there when it can be changed.
bool Win32TrayShell::AddIcon() { return Shell_NotifyIconA(NIM_ADD, &m_icon) || Shell_NotifyIconA(NIM_MODIFY, &m_icon); }

void Win32TrayShell::StartRetryTimer() { SetTimer(m_form, KV_TIMER_TRAY_RETRY, 1000, nullptr); }

void Win32TrayShell::StopRetryTimer() { KillTimer(m_form, KV_TIMER_TRAY_RETRY); }

void Win32TrayShell::DeleteIcon() { Shell_NotifyIconA(NIM_DELETE, &m_icon); }

WindowState Win32TrayShell::State() const {
    if (IsIconic(m_form)) return WindowState::Minimised;
    if (IsZoomed(m_form)) return WindowState::Maximised;
    return WindowState::Normal;
}

void Win32TrayShell::SetState(WindowState state) {
    const int show = state == WindowState::Minimised   ? SW_MINIMIZE
                     : state == WindowState::Maximised ? SW_MAXIMIZE
                                                       : SW_RESTORE;
    ShowWindow(m_form, show);
}

void Win32TrayShell::Focus() { SetForegroundWindow(m_form); }

void Win32TrayShell::ShowMenu() {
    POINT at{};
    GetCursorPos(&at);
    // The menu closes when the user clicks elsewhere only if the form is in
    // front while it is open.
    SetForegroundWindow(m_form);
    TrackPopupMenu(m_menu, TPM_RIGHTBUTTON, at.x, at.y, 0, m_form, nullptr);
    PostMessageW(m_form, WM_NULL, 0, 0);
}

void Win32TrayShell::EnableMenuItem(TrayMenuItem item, bool enabled) {
    ::EnableMenuItem(m_menu, IdOf(item), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32TrayShell::Close() { DestroyWindow(m_form); }

bool Win32TrayShell::MenuItemOf(int id, TrayMenuItem& item) {
    for (TrayMenuItem candidate : {TrayMenuItem::Minimize, TrayMenuItem::Maximize, TrayMenuItem::Close}) {
        if (IdOf(candidate) == id) {
            item = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace kv::gui::win32
