// The form's fakes.
#include "tests/gui/GuiFakes.h"

namespace kv::test {

std::int16_t FakeCameraList::QueryAxi() const {
    axiQueries.push_back(current);
    const std::string pid = gui::PidTextOf(DeviceString(current));
    return pid == "0978" || pid == "09b0" ? gui::kAxiLedPresent : gui::kNoAxiLed;
}

std::string Camera(const std::string& pid) {
    return "\\\\?\\usb#vid_a168&pid_" + pid + "&mi_00#6&1a2b3c&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
}

FormRig::FormRig(std::vector<std::string> pids) {
    for (const std::string& pid : pids) cameras.deviceStrings.push_back(Camera(pid));
}

namespace {

std::string CommandOf(const FakeProcesses::Program& program) {
    const std::string prefix = program.program + " ";
    return program.commandLine.substr(0, prefix.size()) == prefix ? program.commandLine.substr(prefix.size())
                                                                  : "(unexpected line) " + program.commandLine;
}

}  // namespace

std::vector<std::string> FormRig::Take(bool waitedOnly) {
    std::vector<std::string> commands;
    for (; m_taken < ports.processes.programs.size(); ++m_taken) {
        const auto& program = ports.processes.programs[m_taken];
        if (!waitedOnly || program.looks > 0) commands.push_back(CommandOf(program));
    }
    return commands;
}

void FormRig::Choose(int row) {
    view.chosen = row;
    form.OnCameraChosen();
}

}  // namespace kv::test
