// Form1's top-level window: creates the form, its view and its tray icon,
// and hands the window's messages to the form logic.
#pragma once

#include <windows.h>

#include <memory>

#include "gui/core/CameraList.h"
#include "gui/core/CommandRunner.h"
#include "gui/core/MainForm.h"
#include "gui/core/Tray.h"
#include "gui/win32/Win32FormView.h"
#include "gui/win32/Win32TrayShell.h"
#include "platform/Ports.h"

namespace kv::gui::win32 {

class FormWindow {
public:
    FormWindow(HINSTANCE instance, platform::Ports& ports, CameraList& cameras);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Creates, loads and shows the form; false when the window cannot be made.
    bool Open(int show);
    HWND Handle() const { return m_window; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Create();
    void OnCommand(int id, int code);
    void OnScroll(HWND slider);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnTimer(WPARAM id);
    void ListenForShellRestarts();
    void Unload();
    UINT Dpi() const;

    HINSTANCE m_instance;
    platform::Ports& m_ports;
    CameraList& m_cameras;
    HWND m_window = nullptr;
    HICON m_icon = nullptr;
    HDEVNOTIFY m_deviceNotification = nullptr;
    // The message the shell sends every top-level window when it (re)starts.
    UINT m_taskbarCreated = 0;
    bool m_unloaded = false;
    std::unique_ptr<Win32FormView> m_view;
    std::unique_ptr<CommandRunner> m_runner;
    std::unique_ptr<MainForm> m_form;
    std::unique_ptr<Win32TrayShell> m_trayShell;
    std::unique_ptr<Tray> m_tray;
};

}  // namespace kv::gui::win32
