// Form1: auto exposure and the exposure value.
#include "gui/core/MainForm.h"

#include "gui/core/ProductGroups.h"

namespace kv::gui {

void MainForm::RunAeOn() {
    if (m_actionRow == -1) return;  // "-CAM0" would switch every camera
    m_curPidText = PidTextOfRow(m_actionRow);
    // The option does not stay on for these models, but the commands go out.
    if (IsNoAeModel(m_curPidText)) m_view.SetChecked(Control::OptAEOn, false);
    m_view.SetEnabled(Control::HScroll3, m_view.IsChecked(Control::OptAEOn));
    Pause(30);
    m_view.ProcessMessages();
    Run("ae on", Wait::UntilEnded);
    Pause(30);
    Run("EV " + std::to_string(m_view.SliderValue(Control::HScroll3)), Wait::UntilEnded);
    Pause(30);
}

void MainForm::RunAeOff() {
    if (m_actionRow == -1) return;
    m_view.SetEnabled(Control::HScroll3, false);
    m_clock.Sleep(30);
    Run("ae off", Wait::UntilEnded);
}

// Changes within a second of the previous one start no command, so that
// dragging the slider does not start one program per step; the value the
// slider comes to rest on is sent by the timer once the slider has been quiet
// for a second.
void MainForm::OnExposureChanged() {
    const std::uint32_t now = m_clock.TickCount();
    if (now - m_lastEvChange > kExposureQuietMs) {
        SendExposure();
    } else {
        m_exposurePending = true;
    }
    m_lastEvChange = now;
}

void MainForm::SendExposure() {
    m_exposurePending = false;
    m_view.SetEnabled(Control::HScroll3, false);
    const int value = m_view.SliderValue(Control::HScroll3);
    if (m_view.IsChecked(Control::OptAEOn) && m_actionRow != -1) {
        Run("EV " + std::to_string(value), Wait::UntilEnded);
    }
    m_view.SetEnabled(Control::HScroll3, true);
    m_view.ProcessMessages();
    if (CameraSettings* settings = ActionSettings()) settings->evValue = static_cast<std::int16_t>(value);
}

}  // namespace kv::gui
