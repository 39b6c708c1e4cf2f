// Fakes of the form's window and camera list, and a form wired to them and to
// the fake ports.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gui/core/CameraList.h"
#include "gui/core/CommandRunner.h"
#include "gui/core/FormView.h"
#include "gui/core/MainForm.h"
#include "gui/core/ProductGroups.h"
#include "tests/fakes/FakePorts.h"

namespace kv::test {

class FakeView : public gui::FormView {
public:
    std::map<gui::Control, bool> enabled;
    std::map<gui::Control, bool> checked;
    std::map<gui::Control, int> sliders{
        {gui::Control::HScroll3, 81}, {gui::Control::HScroll4, 6}, {gui::Control::HScroll5, 6}};
    std::array<bool, 4> pictures{};
    std::vector<std::string> rows;
    int chosen = -1;
    std::string listText;
    std::vector<std::string> messages;
    int messageRounds = 0;
    // Runs at every round of message handling (a message that arrives then).
    std::function<void()> onMessages;

    void SetEnabled(gui::Control control, bool on) override { enabled[control] = on; }
    bool IsChecked(gui::Control option) const override { return checked.count(option) && checked.at(option); }
    void SetChecked(gui::Control option, bool on) override { checked[option] = on; }
    int SliderValue(gui::Control slider) const override { return sliders.at(slider); }
    void SetSliderValue(gui::Control slider, int value) override { sliders[slider] = value; }
    void ShowFlcPicture(int button, bool on) override { pictures.at(static_cast<std::size_t>(button)) = on; }
    void ClearRows() override {
        rows.clear();
        chosen = -1;
    }
    void AddRow(const std::string& text) override { rows.push_back(text); }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    int ChosenRow() const override { return chosen; }
    void SetChosenRow(int row) override { chosen = row; }
    void SetListText(const std::string& text) override { listText = text; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ProcessMessages() override {
        ++messageRounds;
        if (onMessages) onMessages();
    }
};

// Cameras by device string; the AXI answer follows the real list's rule.
class FakeCameraList : public gui::CameraList {
public:
    std::vector<std::string> deviceStrings;  // what Update() publishes
    std::vector<std::string> listed;
    int current = -1;
    bool first = false;
    bool second = false;
    mutable std::vector<int> axiQueries;  // the current camera at each query

    void Update() override { listed = deviceStrings; }
    int Count() const override { return static_cast<int>(listed.size()); }
    std::string DisplayName(int index) const override { return "Camera " + gui::PidTextOf(DeviceString(index)); }
    std::string DeviceString(int index) const override {
        return index >= 0 && index < Count() ? listed[static_cast<std::size_t>(index)] : std::string();
    }
    void SetCurrent(int index) override { current = index; }
    int Current() const override { return current; }
    bool FirstSwitch() const override { return first; }
    void SetFirstSwitch(bool on) override { first = on; }
    bool SecondSwitch() const override { return second; }
    void SetSecondSwitch(bool on) override { second = on; }
    std::int16_t QueryAxi() const override;
};

// A device string of a camera with the given product id text.
std::string Camera(const std::string& pid);

struct FormRig {
    FakePorts ports;
    FakeView view;
    FakeCameraList cameras;
    gui::CommandRunner runner{ports.processes, ports.clock, view, "C:\\Program Files\\Korvex"};
    gui::MainForm form{view, cameras, runner, ports.clock};

    explicit FormRig(std::vector<std::string> pids = {});
    // The commands started since the last take, without the program path.
    std::vector<std::string> TakeCommands() { return Take(false); }
    // The same, only those that were waited for.
    std::vector<std::string> TakeWaitedCommands() { return Take(true); }
    void Choose(int row);

private:
    std::vector<std::string> Take(bool waitedOnly);

    std::size_t m_taken = 0;
};

}  // namespace kv::test
