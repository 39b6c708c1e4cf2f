// Form1, the GUI's one form: the camera choice, the per-camera settings it
// remembers, and the KV_DS_Ctrl command lines each control runs.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "gui/core/CameraList.h"
#include "gui/core/CameraSettings.h"
#include "gui/core/CommandRunner.h"
#include "gui/core/FormView.h"
#include "platform/Clock.h"

namespace kv::gui {

inline constexpr const char* kFormCaption = "Korvex GUI Control";
inline constexpr const char* kListText = "Select Camera Model";

class MainForm {
public:
    // An exposure change this long after the previous one runs its command.
    static constexpr std::uint32_t kExposureQuietMs = 1000;
    // KV_DS_Ctrl reads one digit after "-CAM": a tenth camera could not be
    // addressed, so the list offers the first nine.
    static constexpr int kMaxRows = 9;

    MainForm(FormView& view, CameraList& cameras, CommandRunner& runner, platform::Clock& clock);

    // Form load: reads the cameras and fills the list (the tray icon is the
    // window's business).
    void Load();

    // The user's actions. One that comes while another action pauses or
    // waits (both handle the window's messages) is held and runs, for the
    // row chosen when it came, once that action has ended; a rebuild of the
    // list drops the held ones, whose rows now name other cameras.
    void OnCameraChosen();                 // Combo3 click
    void OnOptionClicked(Control option);  // the LED, FLC and AE option buttons
    void OnFlcButton(int button);          // cmdFLC1 to cmdFLC4 as 0 to 3
    void OnSliderChanged(Control slider);  // HScroll3, HScroll4, HScroll5
    // Timer1, every second once enabled.
    void OnTimer();
    // The system reports a camera arriving or leaving.
    void OnCameraSetChanged();
    // The window is going: held actions are dropped and no new one starts.
    void Unload();

    // The FLC pattern being edited (bit 0 = cmdFLC1).
    int CurrentPattern() const { return m_curPattern; }
    CameraSettings Settings(int row) const { return m_settings.Read(row); }

private:
    // Runs an action now, or after the running one; the action's camera row
    // is fixed when it starts.
    void Act(std::function<void()> action);
    void RunHeldActions();
    void RunOption(Control option);
    void RunSlider(Control slider);

    // Camera choice and list.
    void ChooseCamera();
    void ApplyCameraChoice();
    void RestoreRowSettings(int row);
    // Shows "none" and is false without rows; chooses row 0 when no row is
    // chosen.
    bool EnsureCameraChosen(Control clicked);
    void RefreshOnTick();
    void Refresh();
    void RebuildForCameraSet();
    int RowsToList() const;
    void ClearRows();
    void FillRows();
    void ExamineFlcCamera(int index);
    void ShowPattern();
    void Select(Control option);

    // Actions.
    void RunLedOption(Control option);
    void RunFlcOption();
    void ToggleSegment(int button);
    void SendAxiAndPattern(const std::string& pattern);
    void RunSpecialAxiModel();
    void RunAeOn();
    void RunAeOff();
    void OnExposureChanged();
    void SendExposure();
    void OnFlcBrightnessChanged();
    void OnAxiBrightnessChanged();
    void SetSlider(Control slider, int value);

    // Helpers.
    std::string CameraSuffix() const;
    void Run(const std::string& command, Wait wait);
    void Pause(unsigned milliseconds);
    CameraSettings* ActionSettings();
    std::string PidTextOfRow(int row) const;

    FormView& m_view;
    CameraList& m_cameras;
    CommandRunner& m_runner;
    platform::Clock& m_clock;
    CameraSettingsTable m_settings;
    int m_curPattern = 0;
    std::string m_curPidText;
    bool m_handlersOn = false;
    std::uint32_t m_lastEvChange = 0;
    bool m_exposurePending = false;
    int m_lastCameraCount = 0;
    bool m_refreshing = false;
    bool m_cameraSetChangeHeld = false;
    // The running action and its camera row (-1: none chosen), and the
    // actions held until it ends.
    bool m_acting = false;
    int m_actionRow = -1;
    struct HeldAction {
        int row;
        std::function<void()> run;
    };
    std::deque<HeldAction> m_heldActions;
    bool m_unloaded = false;
};

// The FLC pattern as four digits 0 or 1, most significant bit first.
std::string PatternText(int pattern);

}  // namespace kv::gui
