// Form1: the LED, FLC and brightness actions and the command lines they run.
#include "gui/core/MainForm.h"

#include "gui/core/ProductGroups.h"

namespace kv::gui {

void MainForm::RunOption(Control option) {
    switch (option) {
    case Control::optLED1:
    case Control::optLED2:
    case Control::optLEDoff:
        RunLedOption(option);
        break;
    case Control::optFLC:
        RunFlcOption();
        break;
    case Control::OptAEOn:
        RunAeOn();
        break;
    case Control::OptAEOff:
        RunAeOff();
        break;
    default:
        break;
    }
}

void MainForm::RunLedOption(Control option) {
    if (!EnsureCameraChosen(option)) return;
    m_curPidText = PidTextOfRow(m_actionRow);
    // A refresh during the pauses below examines other cameras.
    const std::string pid = m_curPidText;
    const bool flc = IsFlcModel(pid);
    if (option == Control::optLEDoff) {
        m_view.SetEnabled(Control::optFLC, flc);
        Run("LED off", Wait::No);
        Pause(30);
    } else if (!flc) {
        m_view.SetEnabled(Control::optFLC, false);
        Run(option == Control::optLED1 ? "LED on 1" : "LED on 2", Wait::No);
        Pause(30);
    } else {
        m_view.SetEnabled(Control::optFLC, true);
        Run("FLCSwitch 1111", Wait::No);
        Pause(30);
        Run("FLCLevel 6", Wait::No);
        Pause(30);
        if (pid == kSpecialAxiModel) {
            Run("FLCLevel 6", Wait::No);
            Pause(30);
        }
    }
    for (Control frame : {Control::frmFLCSwitch, Control::frmFLCBrightness, Control::frmAxiBrightness}) {
        m_view.SetEnabled(frame, false);
    }
    if (CameraSettings* settings = ActionSettings()) {
        settings->ledMode = option == Control::optLED1   ? LedMode::Led1
                            : option == Control::optLED2 ? LedMode::Led2
                                                         : LedMode::Off;
    }
}

void MainForm::RunFlcOption() {
    if (!EnsureCameraChosen(Control::optFLC)) return;
    // A refresh during the pauses below examines other cameras.
    const std::string pid = m_curPidText;
    const std::string pattern = PatternText(m_curPattern);
    m_view.SetEnabled(Control::frmFLCSwitch, true);
    m_view.SetEnabled(Control::frmFLCBrightness, true);
    m_cameras.SetFirstSwitch(true);
    m_cameras.SetSecondSwitch(true);
    m_view.SetEnabled(Control::frmAxiBrightness, pid == "09b0" || pid == kSpecialAxiModel);
    m_cameras.SetFirstSwitch(false);
    m_cameras.SetSecondSwitch(false);
    if (IsFlcModel(pid)) SendAxiAndPattern(pattern);
    if (pid == kSpecialAxiModel) RunSpecialAxiModel();
    if (CameraSettings* settings = ActionSettings()) settings->ledMode = LedMode::Flc;
}

void MainForm::SendAxiAndPattern(const std::string& pattern) {
    m_view.SetEnabled(Control::frmAxiBrightness, false);
    const int caps = m_settings.Read(m_actionRow).axiCaps;
    if ((caps & 0xFF) != 0xFF && (caps & 1)) {
        m_view.SetEnabled(Control::frmAxiBrightness, true);
        Run("FLCLevel " + std::to_string(m_view.SliderValue(Control::HScroll5) + 7), Wait::No);
        Pause(50);
        Pause(50);
    }
    Run("FLCSwitch " + pattern, Wait::No);
    Pause(50);
    Pause(50);
    const int level = m_view.SliderValue(Control::HScroll4);
    if (level == 0) Run("FLCSwitch 0000", Wait::No);
    Run("FLCLevel " + std::to_string(level), Wait::No);
}

void MainForm::RunSpecialAxiModel() {
    m_view.SetEnabled(Control::frmAxiBrightness, true);
    if (m_view.SliderValue(Control::HScroll4) == 6) Run("FLCLevel 6", Wait::No);
    Pause(50);
    Pause(50);
    if (m_view.SliderValue(Control::HScroll5) == 6) Run("FLCLevel 13", Wait::No);
}

void MainForm::ToggleSegment(int button) {
    if (m_actionRow == -1) return;  // "-CAM0" would switch every camera
    m_curPattern ^= 1 << button;
    m_view.ShowFlcPicture(button, (m_curPattern >> button) & 1);
    Run("FLCSwitch " + PatternText(m_curPattern), Wait::No);
    if (m_curPattern != 0 && m_view.SliderValue(Control::HScroll4) == 0) {
        Pause(50);
        SetSlider(Control::HScroll4, 1);
    }
    if (CameraSettings* settings = ActionSettings()) settings->flcPattern = static_cast<std::int16_t>(m_curPattern);
}

void MainForm::RunSlider(Control slider) {
    switch (slider) {
    case Control::HScroll3:
        OnExposureChanged();
        break;
    case Control::HScroll4:
        OnFlcBrightnessChanged();
        break;
    case Control::HScroll5:
        OnAxiBrightnessChanged();
        break;
    default:
        break;
    }
}

// A slider set by the program reports a change only when its value changes.
void MainForm::SetSlider(Control slider, int value) {
    if (m_view.SliderValue(slider) == value) return;
    m_view.SetSliderValue(slider, value);
    RunSlider(slider);
}

void MainForm::OnFlcBrightnessChanged() {
    if (!m_handlersOn || m_actionRow == -1) return;
    const int level = m_view.SliderValue(Control::HScroll4);
    if (level != 0) {
        Run("FLCSwitch " + PatternText(m_curPattern), Wait::No);
        Run("FLCLevel " + std::to_string(level), Wait::No);
    } else {
        Run("FLCSwitch 0000", Wait::No);
    }
    if (CameraSettings* settings = ActionSettings()) settings->flcLevel = static_cast<std::int16_t>(level);
}

void MainForm::OnAxiBrightnessChanged() {
    if (!m_handlersOn || m_actionRow == -1) return;
    const int level = m_view.SliderValue(Control::HScroll5);
    Run("FLCLevel " + std::to_string(level + 7), Wait::No);
    if (CameraSettings* settings = ActionSettings()) settings->axiLevel = static_cast<std::int16_t>(level);
}

}  // namespace kv::gui
