// The form's view on real child windows: creates them, keeps a frame's state
// passed on to what it holds, and tells the window which slider moves are
// changes.
#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <optional>

#include "gui/core/FormView.h"

namespace kv::gui::win32 {

class Win32FormView : public FormView {
public:
    Win32FormView(HWND form, HINSTANCE instance);
    ~Win32FormView() override;
    Win32FormView(const Win32FormView&) = delete;
    Win32FormView& operator=(const Win32FormView&) = delete;

    // Places the children and sizes their font and pictures for the dpi.
    void Layout(UINT dpi);

    // A control from a child's id; none for the labels and unknown ids.
    std::optional<Control> ControlOf(int id) const;
    // True when the slider's position differs from the one last reported
    // (or set by the program), and takes it as reported.
    bool TakeSliderChange(Control slider);

    void SetEnabled(Control control, bool enabled) override;
    bool IsChecked(Control option) const override;
    void SetChecked(Control option, bool checked) override;
    int SliderValue(Control slider) const override;
    void SetSliderValue(Control slider, int value) override;
    void ShowFlcPicture(int button, bool on) override;
    void ClearRows() override;
    void AddRow(const std::string& text) override;
    int RowCount() const override;
    int ChosenRow() const override;
    void SetChosenRow(int row) override;
    void SetListText(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void ProcessMessages() override;

private:
    void CreateChildren();
    void ApplyEnabledStates();
    bool EffectivelyEnabled(Control control) const;
    void LoadPictures(UINT dpi);
    HWND Window(Control control) const { return m_windows.at(control); }

    HWND m_form;
    HINSTANCE m_instance;
    std::map<Control, HWND> m_windows;
    std::map<int, HWND> m_labels;
    std::map<Control, bool> m_ownEnabled;
    std::map<Control, int> m_reportedSlider;
    std::array<bool, 4> m_pictureOn{};
    std::array<HBITMAP, 8> m_pictures{};
    HFONT m_font = nullptr;
};

}  // namespace kv::gui::win32
