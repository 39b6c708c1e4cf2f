// Operates a running KV_GUI_Ctrl through window messages, as a user would
// through the mouse, and reports what the window shows. One action per run:
//
//   gui_driver wait SECONDS             until the form is there with its list filled
//   gui_driver rows                     the list's rows, one a line
//   gui_driver choose ROW               picks a row of the camera list
//   gui_driver click NAME               a button or option (optLED1, cmdFLC2, ...)
//   gui_driver post-click NAME          the same, without waiting for the form
//   gui_driver slider NAME VALUE        moves a slider and reports the move
//   gui_driver post-slider NAME VALUE   the same, without waiting for the form
//   gui_driver state                    "NAME enabled value" per control (check state,
//                                       slider position or chosen row)
//   gui_driver tray left|right          a click on the tray icon
//   gui_driver menu-open                whether a pop-up menu is shown; closes it
//   gui_driver menu minimize|maximize|close
//   gui_driver window                   normal, minimised or maximised
//   gui_driver device-change            the system's word that a device arrived
//   gui_driver handle                   the form's window handle
//   gui_driver icon HANDLE              whether the tray icon of that form exists
//   gui_driver shell-restart HANDLE     removes the form's icon as a shell restart does,
//                                       sends the shell's "TaskbarCreated" message, and
//                                       reports whether the icon came back
//   gui_driver responsive MILLISECONDS  the longest the form took to answer a
//                                       message, polled for that long
//   gui_driver gone SECONDS             until the form has gone
//   gui_driver screenshot FILE.bmp      the form as the screen shows it
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gui/win32/GuiResources.h"

namespace {

struct Named {
    const char* name;
    int id;
};

const Named kControls[] = {{"frmLEDControl", IDC_frmLEDControl},
                           {"optLEDoff", IDC_optLEDoff},
                           {"optLED2", IDC_optLED2},
                           {"optLED1", IDC_optLED1},
                           {"optFLC", IDC_optFLC},
                           {"frmFLCSwitch", IDC_frmFLCSwitch},
                           {"cmdFLC1", IDC_cmdFLC1},
                           {"cmdFLC2", IDC_cmdFLC2},
                           {"cmdFLC3", IDC_cmdFLC3},
                           {"cmdFLC4", IDC_cmdFLC4},
                           {"frmAxiBrightness", IDC_frmAxiBrightness},
                           {"HScroll5", IDC_HScroll5},
                           {"frmFLCBrightness", IDC_frmFLCBrightness},
                           {"HScroll4", IDC_HScroll4},
                           {"Combo3", IDC_Combo3},
                           {"frmAE", IDC_frmAE},
                           {"HScroll3", IDC_HScroll3},
                           {"OptAEOn", IDC_OptAEOn},
                           {"OptAEOff", IDC_OptAEOff}};

HWND Form() { return FindWindowW(KV_GUI_WINDOW_CLASS, nullptr); }

HWND Child(const char* name) {
    for (const Named& control : kControls) {
        if (std::strcmp(control.name, name) == 0) return GetDlgItem(Form(), control.id);
    }
    std::fprintf(stderr, "no control %s\n", name);
    std::exit(2);
}

int Fail(const char* what) {
    std::printf("%s\n", what);
    return 1;
}

int Wait(int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        HWND form = Form();
        if (form && SendMessageW(GetDlgItem(form, IDC_Combo3), CB_GETCOUNT, 0, 0) > 0) {
            std::printf("form up\n");
            return 0;
        }
        Sleep(100);
    }
    return Fail("no form with cameras");
}

int Rows() {
    HWND combo = GetDlgItem(Form(), IDC_Combo3);
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        wchar_t text[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text));
        std::printf("%ls\n", text);
    }
    return 0;
}

int Choose(int row) {
    HWND combo = GetDlgItem(Form(), IDC_Combo3);
    SendMessageW(combo, CB_SETCURSEL, row, 0);
    SendMessageW(Form(), WM_COMMAND, MAKEWPARAM(IDC_Combo3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return 0;
}

int MoveSlider(const char* name, int value, bool post) {
    HWND slider = Child(name);
    SendMessageW(slider, TBM_SETPOS, TRUE, value);
    const WPARAM code = MAKEWPARAM(TB_ENDTRACK, 0);
    if (post) {
        PostMessageW(Form(), WM_HSCROLL, code, reinterpret_cast<LPARAM>(slider));
    } else {
        SendMessageW(Form(), WM_HSCROLL, code, reinterpret_cast<LPARAM>(slider));
    }
    return 0;
}

int State() {
    for (const Named& control : kControls) {
        HWND window = GetDlgItem(Form(), control.id);
        wchar_t type[32] = {};
        GetClassNameW(window, type, 32);
        long value = 0;
        if (_wcsicmp(type, TRACKBAR_CLASSW) == 0) value = static_cast<long>(SendMessageW(window, TBM_GETPOS, 0, 0));
        if (_wcsicmp(type, L"Button") == 0) value = static_cast<long>(SendMessageW(window, BM_GETCHECK, 0, 0));
        if (_wcsicmp(type, L"ComboBox") == 0) value = static_cast<long>(SendMessageW(window, CB_GETCURSEL, 0, 0));
        std::printf("%s %d %ld\n", control.name, IsWindowEnabled(window) ? 1 : 0, value);
    }
    return 0;
}

int MenuOpen() {
    for (int i = 0; i < 30; ++i) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (menu && IsWindowVisible(menu)) {
            std::printf("menu open\n");
            PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            return 0;
        }
        Sleep(100);
    }
    return Fail("no menu");
}

int Menu(const char* item) {
    const int id = std::strcmp(item, "minimize") == 0   ? IDM_TRAY_MINIMIZE
                   : std::strcmp(item, "maximize") == 0 ? IDM_TRAY_MAXIMIZE
                                                        : IDM_TRAY_CLOSE;
    PostMessageW(Form(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Sleep(300);
    return 0;
}

int WindowState() {
    HWND form = Form();
    std::printf("%s\n", IsIconic(form) ? "minimised" : IsZoomed(form) ? "maximised" : "normal");
    return 0;
}

// The form's tray icon record, as the form itself registers it.
NOTIFYICONDATAA FormIcon(HWND form) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = form;
    icon.uID = 0;
    return icon;
}

bool IconPresent(HWND form) {
    NOTIFYICONDATAA icon = FormIcon(form);
    icon.uFlags = NIF_TIP;
    std::strcpy(icon.szTip, "Korvex GUI Control");
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

int Icon(HWND form) {
    std::printf("%s\n", IconPresent(form) ? "icon present" : "icon absent");
    return 0;
}

int ShellRestart(HWND form) {
    NOTIFYICONDATAA icon = FormIcon(form);
    Shell_NotifyIconA(NIM_DELETE, &icon);
    if (IconPresent(form)) return Fail("the icon could not be removed");
    SendMessageW(form, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    std::printf("%s\n", IconPresent(form) ? "icon back" : "icon gone");
    return 0;
}

int Responsive(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    DWORD longest = 0;
    while (GetTickCount() < end) {
        const DWORD before = GetTickCount();
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(Form(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result)) return Fail("no answer");
        const DWORD took = GetTickCount() - before;
        if (took > longest) longest = took;
        Sleep(5);
    }
    std::printf("longest %lu ms\n", static_cast<unsigned long>(longest));
    return 0;
}

int Gone(int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (!Form()) {
            std::printf("form gone\n");
            return 0;
        }
        Sleep(100);
    }
    return Fail("form still there");
}

int Screenshot(const char* file) {
    RECT r{};
    GetWindowRect(Form(), &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD size = static_cast<DWORD>(((width * 3 + 3) & ~3) * height);
    BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0,
                            0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    FILE* out = std::fopen(file, "wb");
    if (!out) return Fail("cannot write the screenshot");
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    std::fwrite(bits, size, 1, out);
    std::fclose(out);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    std::printf("screenshot %dx%d\n", width, height);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Fail("no action");
    const std::string action = argv[1];
    const char* arg = argc > 2 ? argv[2] : "";
    if (action == "wait") return Wait(std::atoi(arg));
    if (action == "gone") return Gone(std::atoi(arg));
    if (action == "icon") return Icon(reinterpret_cast<HWND>(std::strtoul(arg, nullptr, 0)));
    if (action == "shell-restart") return ShellRestart(reinterpret_cast<HWND>(std::strtoul(arg, nullptr, 0)));
    if (!Form()) return Fail("no form");
    if (action == "rows") return Rows();
    if (action == "choose") return Choose(std::atoi(arg));
    if (action == "click") return SendMessageW(Child(arg), BM_CLICK, 0, 0), 0;
    if (action == "post-click") return PostMessageW(Child(arg), BM_CLICK, 0, 0), 0;
    if (action == "slider" && argc > 3) return MoveSlider(arg, std::atoi(argv[3]), false);
    if (action == "post-slider" && argc > 3) return MoveSlider(arg, std::atoi(argv[3]), true);
    if (action == "state") return State();
    if (action == "tray") {
        PostMessageW(Form(), KV_WM_TRAY_ICON, 0, std::strcmp(arg, "left") == 0 ? WM_LBUTTONUP : WM_RBUTTONUP);
        Sleep(300);
        return 0;
    }
    if (action == "menu-open") return MenuOpen();
    if (action == "menu") return Menu(arg);
    if (action == "window") return WindowState();
    if (action == "device-change") return SendMessageW(Form(), WM_DEVICECHANGE, 0x8000, 0), 0;  // DBT_DEVICEARRIVAL
    if (action == "handle")
        return std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(Form()))), 0;
    if (action == "responsive") return Responsive(static_cast<DWORD>(std::atoi(arg)));
    if (action == "screenshot") return Screenshot(arg);
    return Fail("unknown action");
}
