// Form1's window and its message handling.
#include "gui/win32/FormWindow.h"

#include <commctrl.h>
#include <dbt.h>

#include "gui/win32/FormLayout.h"
#include "gui/win32/GuiResources.h"
#include "platform/ProgramFolder.h"
#include "platform/win32/WideText.h"

namespace kv::gui::win32 {

namespace {

// Video capture devices, the interface class of the video-input category.
const GUID kCaptureInterfaceClass = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr UINT kWmDpiChanged = 0x02E0;

// GetDpiForWindow exists from Windows 10 on; before it the screen's dpi
// holds for every window.
UINT DpiOf(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi) {
        if (const UINT dpi = getDpi(window)) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

}  // namespace

FormWindow::FormWindow(HINSTANCE instance, platform::Ports& ports, CameraList& cameras)
    : m_instance(instance), m_ports(ports), m_cameras(cameras) {}

FormWindow::~FormWindow() {
    if (m_deviceNotification) UnregisterDeviceNotification(m_deviceNotification);
    if (m_window) DestroyWindow(m_window);
}

bool FormWindow::Open(int show) {
    m_icon = LoadIconW(m_instance, MAKEINTRESOURCEW(IDI_KV_GUI));
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = Procedure;
    type.hInstance = m_instance;
    type.hIcon = m_icon;
    type.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = KV_GUI_WINDOW_CLASS;
    RegisterClassExW(&type);
    RECT frame{0, 0, kClientSize.cx, kClientSize.cy};
    AdjustWindowRect(&frame, kStyle, FALSE);
    const std::wstring caption = platform::win32::Widen(kFormCaption);
    m_window = CreateWindowExW(0, KV_GUI_WINDOW_CLASS, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                               frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, m_instance, this);
    if (!m_window) return false;
    Create();
    ShowWindow(m_window, show);
    UpdateWindow(m_window);
    m_tray->Load();
    m_form->Load();
    return true;
}

void FormWindow::Create() {
    const UINT dpi = Dpi();
    if (dpi != 96) {
        RECT frame{0, 0, MulDiv(kClientSize.cx, static_cast<int>(dpi), 96),
                   MulDiv(kClientSize.cy, static_cast<int>(dpi), 96)};
        AdjustWindowRect(&frame, kStyle, FALSE);
        SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
    m_view = std::make_unique<Win32FormView>(m_window, m_instance);
    m_view->Layout(dpi);
    std::string folder = platform::ProgramFolder(m_ports.environment);
    folder = folder.empty() ? std::string(".") : folder.substr(0, folder.size() - 1);
    m_runner = std::make_unique<CommandRunner>(m_ports.processes, m_ports.clock, *m_view, folder);
    m_form = std::make_unique<MainForm>(*m_view, m_cameras, *m_runner, m_ports.clock);
    m_trayShell = std::make_unique<Win32TrayShell>(m_window, m_icon);
    m_tray = std::make_unique<Tray>(*m_trayShell);
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kCaptureInterfaceClass;
    m_deviceNotification = RegisterDeviceNotificationW(m_window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    ListenForShellRestarts();
}

// The shell forgets every icon when it restarts (after a crash of the
// desktop, for one) and tells the windows with a registered message. A form
// started with higher rights than the shell's would not get that message
// unless it lets it in (the call exists from Windows 7 on).
void FormWindow::ListenForShellRestarts() {
    m_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    using FilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    const auto allow = reinterpret_cast<FilterFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx")));
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
    if (allow && m_taskbarCreated) allow(m_window, m_taskbarCreated, kAllow, nullptr);
}

UINT FormWindow::Dpi() const { return DpiOf(m_window); }

LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_window = window;
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->m_tray || self->m_unloaded) return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_taskbarCreated && message == m_taskbarCreated) {
        m_tray->OnShellRestarted();
        return 0;
    }
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_HSCROLL:
        if (LOWORD(wParam) != TB_THUMBTRACK) OnScroll(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case KV_WM_TRAY_ICON:
        m_tray->OnIconMessage(static_cast<std::uint32_t>(LOWORD(lParam)));
        return 0;
    case WM_SIZE:
        m_tray->OnResize();
        return 0;
    case WM_DEVICECHANGE:
        if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) m_form->OnCameraSetChanged();
        return TRUE;
    case kWmDpiChanged:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Labels, option buttons and sliders on the form's own face.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_DESTROY:
        Unload();
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void FormWindow::OnCommand(int id, int code) {
    TrayMenuItem item;
    if (Win32TrayShell::MenuItemOf(id, item)) {
        m_tray->OnMenu(item);
        return;
    }
    const std::optional<Control> control = m_view->ControlOf(id);
    if (!control) return;
    if (*control == Control::Combo3) {
        if (code == CBN_SELCHANGE) m_form->OnCameraChosen();
        return;
    }
    if (code != BN_CLICKED) return;
    switch (*control) {
    case Control::cmdFLC1:
        m_form->OnFlcButton(0);
        break;
    case Control::cmdFLC2:
        m_form->OnFlcButton(1);
        break;
    case Control::cmdFLC3:
        m_form->OnFlcButton(2);
        break;
    case Control::cmdFLC4:
        m_form->OnFlcButton(3);
        break;
    default:
        m_form->OnOptionClicked(*control);
        break;
    }
}

void FormWindow::OnTimer(WPARAM id) {
    if (id == KV_TIMER1) m_form->OnTimer();
    if (id == KV_TIMER_TRAY_RETRY) m_tray->OnRetryTimer();
}

void FormWindow::OnScroll(HWND slider) {
    const std::optional<Control> control = m_view->ControlOf(GetDlgCtrlID(slider));
    if (control && m_view->TakeSliderChange(*control)) m_form->OnSliderChanged(*control);
}

void FormWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    SetWindowPos(m_window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    m_view->Layout(dpi);
}

// An action that waits may still be running below this message; it finds
// its windows gone and ends, and the main loop ends after it.
void FormWindow::Unload() {
    m_unloaded = true;
    m_form->Unload();
    m_tray->Unload();
    KillTimer(m_window, KV_TIMER1);
    m_window = nullptr;
    PostQuitMessage(0);
}

}  // namespace kv::gui::win32
