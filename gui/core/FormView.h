// The form's window as the form logic sees it: controls by name, their
// enabled state, values and texts. The window adapter draws them; a test's
// fake records them.
#pragma once

#include <string>

namespace kv::gui {

enum class Control {
    frmLEDControl,
    optLEDoff,
    optLED2,
    optLED1,
    optFLC,
    frmFLCSwitch,
    cmdFLC1,
    cmdFLC2,
    cmdFLC3,
    cmdFLC4,
    frmAxiBrightness,
    HScroll5,
    frmFLCBrightness,
    HScroll4,
    Combo3,
    frmAE,
    HScroll3,
    OptAEOn,
    OptAEOff,
    Timer1,
};

class FormView {
public:
    virtual ~FormView() = default;
    // A frame passes its state on to what it holds: a control inside a
    // disabled frame cannot be used, whatever its own state.
    virtual void SetEnabled(Control control, bool enabled) = 0;
    virtual bool IsChecked(Control option) const = 0;
    // Only the one option; clearing the others of its group is the form's
    // business.
    virtual void SetChecked(Control option, bool checked) = 0;
    virtual int SliderValue(Control slider) const = 0;
    // Moves the slider without reporting a change.
    virtual void SetSliderValue(Control slider, int value) = 0;
    // button 0 to 3: cmdFLC1 to cmdFLC4, with its on or off picture.
    virtual void ShowFlcPicture(int button, bool on) = 0;

    virtual void ClearRows() = 0;
    virtual void AddRow(const std::string& text) = 0;
    virtual int RowCount() const = 0;
    // -1 when no row is chosen.
    virtual int ChosenRow() const = 0;
    // Chooses a row without reporting the choice.
    virtual void SetChosenRow(int row) = 0;
    virtual void SetListText(const std::string& text) = 0;

    // A modal box with an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // Handles the window messages that are waiting, then returns.
    virtual void ProcessMessages() = 0;
};

}  // namespace kv::gui
