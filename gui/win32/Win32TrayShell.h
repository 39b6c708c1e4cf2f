// The tray icon and the window-state calls behind the tray logic.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "gui/core/Tray.h"

namespace kv::gui::win32 {

class Win32TrayShell : public TrayShell {
public:
    Win32TrayShell(HWND form, HICON icon);
    ~Win32TrayShell() override;
    Win32TrayShell(const Win32TrayShell&) = delete;
    Win32TrayShell& operator=(const Win32TrayShell&) = delete;

    bool AddIcon() override;
    void DeleteIcon() override;
    void StartRetryTimer() override;
    void StopRetryTimer() override;
    WindowState State() const override;
    void SetState(WindowState state) override;
    void Focus() override;
    void ShowMenu() override;
    void EnableMenuItem(TrayMenuItem item, bool enabled) override;
    void Close() override;

    // The menu item of a WM_COMMAND id; false for other ids.
    static bool MenuItemOf(int id, TrayMenuItem& item);

private:
    HWND m_form;
    HMENU m_menu;
    // The icon record in its first, 88-byte form.
    NOTIFYICONDATAA m_icon{};
};

}  // namespace kv::gui::win32
