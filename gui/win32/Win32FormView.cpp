// The form's child windows.
#include "gui/win32/Win32FormView.h"

#include <commctrl.h>

#include "gui/win32/FormLayout.h"
#include "gui/win32/GuiResources.h"
#include "platform/win32/WideText.h"

namespace kv::gui::win32 {

namespace {

using platform::win32::Widen;

constexpr Control kDisabledAtStart[] = {Control::frmLEDControl,    Control::optLEDoff, Control::optLED2,
                                        Control::optLED1,          Control::optFLC,    Control::frmFLCSwitch,
                                        Control::frmAxiBrightness, Control::frmAE,     Control::HScroll3,
                                        Control::OptAEOn,          Control::OptAEOff,  Control::Timer1};

struct WindowClass {
    const wchar_t* name;
    DWORD style;
};

WindowClass ClassOf(Kind kind) {
    switch (kind) {
    case Kind::Frame:
        return {L"BUTTON", BS_GROUPBOX};
    case Kind::Option:
        return {L"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP};
    case Kind::PictureButton:
        return {L"BUTTON", BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP};
    case Kind::Slider:
        return {TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP};
    case Kind::Combo:
        return {L"COMBOBOX", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP};
    case Kind::Label:
        return {L"STATIC", SS_LEFT};
    }
    return {L"STATIC", 0};
}

int Scale(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), 96); }

}  // namespace

Win32FormView::Win32FormView(HWND form, HINSTANCE instance) : m_form(form), m_instance(instance) {
    for (const ChildLayout& child : FormChildren()) {
        if (child.control) m_ownEnabled[*child.control] = true;
    }
    for (Control control : kDisabledAtStart) m_ownEnabled[control] = false;
    CreateChildren();
    ApplyEnabledStates();
}

Win32FormView::~Win32FormView() {
    for (HBITMAP picture : m_pictures) {
        if (picture) DeleteObject(picture);
    }
    if (m_font) DeleteObject(m_font);
}

void Win32FormView::CreateChildren() {
    for (const ChildLayout& child : FormChildren()) {
        const WindowClass type = ClassOf(child.kind);
        const DWORD style = WS_CHILD | WS_VISIBLE | type.style | (child.startsGroup ? WS_GROUP : 0);
        HWND window = CreateWindowExW(0, type.name, child.text ? child.text : L"", style, 0, 0, 0, 0, m_form,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)), m_instance, nullptr);
        if (child.control) {
            m_windows[*child.control] = window;
        } else {
            m_labels[child.id] = window;
        }
        if (child.kind == Kind::Slider) {
            const SliderRange slider = SliderOf(*child.control);
            SendMessageW(window, TBM_SETRANGE, FALSE, MAKELPARAM(slider.minimum, slider.maximum));
            SendMessageW(window, TBM_SETLINESIZE, 0, slider.smallStep);
            SendMessageW(window, TBM_SETPAGESIZE, 0, slider.largeStep);
            SendMessageW(window, TBM_SETTICFREQ, child.control == Control::HScroll3 ? 17 : 1, 0);
            SendMessageW(window, TBM_SETPOS, TRUE, slider.initial);
            m_reportedSlider[*child.control] = slider.initial;
        }
    }
    // The list's text is a caption, not something to type into.
    HWND edit = FindWindowExW(Window(Control::Combo3), nullptr, L"EDIT", nullptr);
    if (edit) SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
}

void Win32FormView::Layout(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = -Scale(12, dpi);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    for (const ChildLayout& child : FormChildren()) {
        HWND window = child.control ? Window(*child.control) : m_labels.at(child.id);
        const RECT& r = child.bounds;
        MoveWindow(window, Scale(r.left, dpi), Scale(r.top, dpi), Scale(r.right - r.left, dpi),
                   Scale(r.bottom - r.top, dpi), TRUE);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (m_font) DeleteObject(m_font);
    m_font = font;
    LoadPictures(dpi);
}

void Win32FormView::LoadPictures(UINT dpi) {
    const int size = Scale(23, dpi);
    for (std::size_t i = 0; i < m_pictures.size(); ++i) {
        HBITMAP old = m_pictures[i];
        m_pictures[i] = static_cast<HBITMAP>(
            LoadImageW(m_instance, MAKEINTRESOURCEW(IDB_FLC1_OFF + static_cast<int>(i)), IMAGE_BITMAP, size, size, 0));
        if (old) DeleteObject(old);
    }
    for (int button = 0; button < 4; ++button) ShowFlcPicture(button, m_pictureOn[static_cast<std::size_t>(button)]);
}

std::optional<Control> Win32FormView::ControlOf(int id) const {
    for (const ChildLayout& child : FormChildren()) {
        if (child.id == id) return child.control;
    }
    return std::nullopt;
}

bool Win32FormView::TakeSliderChange(Control slider) {
    const int value = SliderValue(slider);
    if (m_reportedSlider[slider] == value) return false;
    m_reportedSlider[slider] = value;
    return true;
}

void Win32FormView::SetEnabled(Control control, bool enabled) {
    if (control == Control::Timer1) {
        if (enabled) {
            SetTimer(m_form, KV_TIMER1, 1000, nullptr);
        } else {
            KillTimer(m_form, KV_TIMER1);
        }
    }
    m_ownEnabled[control] = enabled;
    ApplyEnabledStates();
}

bool Win32FormView::EffectivelyEnabled(Control control) const {
    const ChildLayout* child = FindChild(control);
    if (!m_ownEnabled.at(control)) return false;
    return !child || !child->frame || EffectivelyEnabled(*child->frame);
}

void Win32FormView::ApplyEnabledStates() {
    for (const auto& [control, window] : m_windows) {
        const bool enabled = EffectivelyEnabled(control);
        if ((IsWindowEnabled(window) != FALSE) != enabled) EnableWindow(window, enabled);
    }
    for (const ChildLayout& child : FormChildren()) {
        if (!child.control && child.frame) EnableWindow(m_labels.at(child.id), EffectivelyEnabled(*child.frame));
    }
}

bool Win32FormView::IsChecked(Control option) const {
    return SendMessageW(Window(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32FormView::SetChecked(Control option, bool checked) {
    SendMessageW(Window(option), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Win32FormView::SliderValue(Control slider) const {
    return static_cast<int>(SendMessageW(Window(slider), TBM_GETPOS, 0, 0));
}

void Win32FormView::SetSliderValue(Control slider, int value) {
    SendMessageW(Window(slider), TBM_SETPOS, TRUE, value);
    m_reportedSlider[slider] = SliderValue(slider);
}

void Win32FormView::ShowFlcPicture(int button, bool on) {
    m_pictureOn[static_cast<std::size_t>(button)] = on;
    const Control buttons[] = {Control::cmdFLC1, Control::cmdFLC2, Control::cmdFLC3, Control::cmdFLC4};
    HBITMAP picture = m_pictures[static_cast<std::size_t>(button * 2 + (on ? 1 : 0))];
    SendMessageW(Window(buttons[button]), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

void Win32FormView::ClearRows() { SendMessageW(Window(Control::Combo3), CB_RESETCONTENT, 0, 0); }

void Win32FormView::AddRow(const std::string& text) {
    SendMessageW(Window(Control::Combo3), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

int Win32FormView::RowCount() const {
    return static_cast<int>(SendMessageW(Window(Control::Combo3), CB_GETCOUNT, 0, 0));
}

int Win32FormView::ChosenRow() const {
    return static_cast<int>(SendMessageW(Window(Control::Combo3), CB_GETCURSEL, 0, 0));
}

void Win32FormView::SetChosenRow(int row) { SendMessageW(Window(Control::Combo3), CB_SETCURSEL, row, 0); }

void Win32FormView::SetListText(const std::string& text) {
    SetWindowTextW(Window(Control::Combo3), Widen(text).c_str());
}

void Win32FormView::ShowMessage(const std::string& text) {
    MessageBoxW(m_form, Widen(text).c_str(), L"KV_GUI_Ctrl", MB_OK);
}

void Win32FormView::ProcessMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // For the main loop, which ends the program once this action
            // has finished.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!IsDialogMessageW(m_form, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace kv::gui::win32
