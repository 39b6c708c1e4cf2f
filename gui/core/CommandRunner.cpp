// Starting KV_DS_Ctrl.exe and waiting for it.
#include "gui/core/CommandRunner.h"

namespace kv::gui {

CommandRunner::CommandRunner(platform::Processes& processes, platform::Clock& clock, FormView& view,
                             std::string programFolder)
    : m_processes(processes), m_clock(clock), m_view(view), m_programFolder(std::move(programFolder)) {}

std::string CommandRunner::Program() const { return m_programFolder + "\\KV_DS_Ctrl.exe"; }

void CommandRunner::Run(const std::string& command, Wait wait) {
    const std::string program = Program();
    auto process = m_processes.StartProgramHidden(program, program + " " + command);
    // A program that did not start, or cannot be watched, is not waited for.
    if (wait == Wait::No || !process) return;
    WaitUntilEnded(*process);
    m_clock.Sleep(kAfterWaitMs);
}

// A command that hangs must not freeze the window: the wait keeps handling
// messages, and the actions that wait disable their own control meanwhile.
void CommandRunner::WaitUntilEnded(platform::StartedProcess& process) {
    while (!process.HasEnded()) {
        m_view.ProcessMessages();
        m_clock.Sleep(kLookIntervalMs);
    }
}

}  // namespace kv::gui
