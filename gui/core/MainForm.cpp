// Form1: start-up, the camera choice and the camera list.
#include "gui/core/MainForm.h"

#include <algorithm>
#include <exception>

#include "gui/core/ProductGroups.h"

namespace kv::gui {

namespace {

constexpr Control kLedOptions[] = {Control::optLEDoff, Control::optLED2, Control::optLED1, Control::optFLC};
constexpr Control kAeOptions[] = {Control::OptAEOn, Control::OptAEOff};

}  // namespace

std::string PatternText(int pattern) {
    std::string text;
    for (int bit = 3; bit >= 0; --bit) text += (pattern >> bit) & 1 ? '1' : '0';
    return text;
}

MainForm::MainForm(FormView& view, CameraList& cameras, CommandRunner& runner, platform::Clock& clock)
    : m_view(view), m_cameras(cameras), m_runner(runner), m_clock(clock) {}

void MainForm::Load() {
    m_handlersOn = false;
    m_cameras.Update();
    m_lastEvChange = m_clock.TickCount();
    if (m_cameras.Count() < 1) {
        // The list stays empty until the refresh finds cameras.
        m_view.SetEnabled(Control::Timer1, true);
        return;
    }
    FillRows();
    m_view.ProcessMessages();
    m_clock.Sleep(50);
    m_view.ProcessMessages();
    m_cameras.SetFirstSwitch(true);
    m_view.SetEnabled(Control::Timer1, true);
    m_curPattern = 15;
    ShowPattern();
}

void MainForm::OnCameraChosen() {
    Act([this] { ChooseCamera(); });
}

void MainForm::OnOptionClicked(Control option) {
    Act([this, option] { RunOption(option); });
}

void MainForm::OnFlcButton(int button) {
    Act([this, button] { ToggleSegment(button); });
}

void MainForm::OnSliderChanged(Control slider) {
    Act([this, slider] { RunSlider(slider); });
}

void MainForm::Unload() {
    m_unloaded = true;
    m_heldActions.clear();
}

// An action's pauses and waits handle the window's messages, and with them
// the user's next clicks, the timer and the system's device reports. A click
// then waits for the running action: started inside it, it would mix its
// commands into the running ones and change the controls the running action
// still reads. The list may be rebuilt meanwhile, or another row chosen, so
// an action's camera is the row chosen when the user asked for it.
void MainForm::Act(std::function<void()> action) {
    if (m_unloaded) return;
    m_heldActions.push_back({m_view.ChosenRow(), std::move(action)});
    if (!m_acting) RunHeldActions();
}

void MainForm::RunHeldActions() {
    struct Acting {
        bool& flag;
        explicit Acting(bool& acting) : flag(acting) { flag = true; }
        ~Acting() { flag = false; }
    } acting(m_acting);
    while (!m_heldActions.empty()) {
        const HeldAction action = std::move(m_heldActions.front());
        m_heldActions.pop_front();
        m_actionRow = action.row;
        action.run();
    }
}

void MainForm::ChooseCamera() {
    try {
        ApplyCameraChoice();
    } catch (const std::exception& error) {
        m_view.ShowMessage(error.what());
    }
}

void MainForm::ApplyCameraChoice() {
    const int row = m_actionRow;
    // A choice held while the list was rebuilt under it: its row is gone.
    if (row == -1) return;
    m_handlersOn = false;
    m_cameras.SetFirstSwitch(false);
    m_cameras.SetCurrent(row);
    m_curPidText = PidTextOfRow(row);
    const bool dualSwitch = IsDualSwitchModel(m_curPidText);
    const bool flc = IsFlcModel(m_curPidText);
    m_view.SetEnabled(Control::frmLEDControl, true);
    m_view.SetEnabled(Control::frmAE, true);
    if (dualSwitch) {
        if (!m_cameras.FirstSwitch()) m_cameras.SetFirstSwitch(true);
        if (!m_cameras.SecondSwitch()) m_cameras.SetSecondSwitch(true);
    }
    for (Control frame : {Control::frmFLCSwitch, Control::frmFLCBrightness, Control::frmAxiBrightness}) {
        m_view.SetEnabled(frame, false);
    }
    m_view.SetEnabled(Control::optFLC, flc);
    if (!flc) {
        for (int button = 0; button < 4; ++button) m_view.ShowFlcPicture(button, true);
    }
    for (Control option :
         {Control::optLED1, Control::optLED2, Control::optLEDoff, Control::OptAEOn, Control::OptAEOff}) {
        m_view.SetEnabled(option, true);
    }
    for (Control option : kLedOptions) m_view.SetChecked(option, false);
    for (Control option : kAeOptions) m_view.SetChecked(option, false);
    if (dualSwitch && m_cameras.SecondSwitch()) m_cameras.SetSecondSwitch(false);
    RestoreRowSettings(row);
}

void MainForm::RestoreRowSettings(int row) {
    const CameraSettings settings = m_settings.Read(row);
    SetSlider(Control::HScroll4, settings.flcLevel);
    SetSlider(Control::HScroll5, settings.axiLevel);
    SetSlider(Control::HScroll3, settings.evValue);
    m_handlersOn = true;
    m_curPattern = settings.flcPattern;
    ShowPattern();
    switch (settings.ledMode) {
    case LedMode::Led1:
        Select(Control::optLED1);
        break;
    case LedMode::Led2:
        Select(Control::optLED2);
        break;
    case LedMode::Flc:
        Select(Control::optFLC);
        break;
    case LedMode::Off:
        Select(Control::optLEDoff);
        break;
    case LedMode::None:
        break;
    }
}

// Selecting an option clears the others of its frame and runs its action,
// as a click does.
void MainForm::Select(Control option) {
    for (Control other : kLedOptions) m_view.SetChecked(other, other == option);
    RunOption(option);
}

bool MainForm::EnsureCameraChosen(Control clicked) {
    if (m_view.RowCount() == 0) {
        m_view.ShowMessage("none");
        return false;
    }
    if (m_actionRow != -1) return true;
    m_view.SetChosenRow(0);
    m_actionRow = 0;
    ChooseCamera();
    // The choice clears every option; the one clicked stays shown.
    for (Control other : kLedOptions) m_view.SetChecked(other, other == clicked);
    return true;
}

void MainForm::ShowPattern() {
    for (int button = 0; button < 4; ++button) m_view.ShowFlcPicture(button, (m_curPattern >> button) & 1);
}

// A tick during an action refreshes the list at once (the action keeps its
// camera); the resting exposure value goes out only between actions.
void MainForm::OnTimer() {
    if (m_acting) {
        RefreshOnTick();
        return;
    }
    Act([this] {
        RefreshOnTick();
        if (m_exposurePending && m_clock.TickCount() - m_lastEvChange > kExposureQuietMs) SendExposure();
    });
}

// A refresh handles messages while it asks FLC cameras for their AXI LED,
// and with many of them it lasts longer than a tick. A tick that comes in
// the middle does nothing, and a camera-set change waits until the refresh
// has ended: either would rebuild the list under the refresh that is filling
// it, and rows would be doubled or shifted.
void MainForm::RefreshOnTick() {
    if (m_refreshing) return;
    m_refreshing = true;
    try {
        Refresh();
    } catch (const std::exception& error) {
        m_view.ShowMessage(error.what());
    }
    m_refreshing = false;
    if (m_cameraSetChangeHeld) {
        m_cameraSetChangeHeld = false;
        RebuildForCameraSet();
    }
}

void MainForm::Refresh() {
    m_cameras.Update();
    const int count = RowsToList();
    if (count == m_lastCameraCount) return;
    ClearRows();
    for (int index = 0; index < count; ++index) {
        m_view.AddRow(m_cameras.DisplayName(index));
        m_curPidText = PidTextOfRow(index);
        if (IsFlcModel(m_curPidText)) ExamineFlcCamera(index);
    }
    m_view.SetListText(kListText);
    m_lastCameraCount = count;
}

void MainForm::ExamineFlcCamera(int index) {
    m_cameras.SetCurrent(index);
    if (!m_cameras.FirstSwitch()) m_cameras.SetFirstSwitch(true);
    for (int round = 0; round < 3; ++round) {
        m_view.ProcessMessages();
        m_clock.Sleep(50);
        m_view.ProcessMessages();
    }
    const std::int16_t caps = m_cameras.QueryAxi();
    if (CameraSettings* settings = m_settings.Find(index)) settings->axiCaps = caps;
    if ((caps & 0xFF) == 0xFF) {
        m_view.SetEnabled(Control::frmAxiBrightness, false);
    } else if (caps & 1) {
        m_view.SetEnabled(Control::frmAxiBrightness, true);
    }
}

void MainForm::OnCameraSetChanged() {
    if (m_refreshing) {
        m_cameraSetChangeHeld = true;
        return;
    }
    RebuildForCameraSet();
}

void MainForm::RebuildForCameraSet() {
    m_cameras.Update();
    FillRows();
    m_view.SetListText(kListText);
    m_cameras.SetCurrent(m_view.ChosenRow());
}

// The rows that held actions name are gone with them.
void MainForm::ClearRows() {
    m_view.ClearRows();
    m_heldActions.clear();
}

void MainForm::FillRows() {
    ClearRows();
    const int count = RowsToList();
    for (int index = 0; index < count; ++index) m_view.AddRow(m_cameras.DisplayName(index));
}

int MainForm::RowsToList() const { return std::min(m_cameras.Count(), kMaxRows); }

std::string MainForm::PidTextOfRow(int row) const { return PidTextOf(m_cameras.DeviceString(row)); }

std::string MainForm::CameraSuffix() const { return " -CAM" + std::to_string(m_actionRow + 1); }

void MainForm::Run(const std::string& command, Wait wait) { m_runner.Run(command + CameraSuffix(), wait); }

void MainForm::Pause(unsigned milliseconds) {
    m_view.ProcessMessages();
    m_clock.Sleep(milliseconds);
}

CameraSettings* MainForm::ActionSettings() { return m_settings.Find(m_actionRow); }

}  // namespace kv::gui
