// Runs KV_DS_Ctrl.exe from the GUI's own folder with one command, hidden,
// and waits for it where the action needs the camera to have taken the
// command before the next one.
#pragma once

#include <string>

#include "gui/core/FormView.h"
#include "platform/Clock.h"
#include "platform/Processes.h"

namespace kv::gui {

enum class Wait { No, UntilEnded };

class CommandRunner {
public:
    // Pause between two looks at a started program.
    static constexpr unsigned kLookIntervalMs = 10;
    // Pause after a program that was waited for has ended.
    static constexpr unsigned kAfterWaitMs = 30;

    // programFolder: the folder of KV_GUI_Ctrl.exe, without a final "\".
    CommandRunner(platform::Processes& processes, platform::Clock& clock, FormView& view, std::string programFolder);

    // The command line is the folder, "\KV_DS_Ctrl.exe ", and the command, the
    // path unquoted, as KV_DS_Ctrl reads its own line. While it waits, the
    // window goes on handling its messages.
    void Run(const std::string& command, Wait wait);

    std::string Program() const;

private:
    void WaitUntilEnded(platform::StartedProcess& process);

    platform::Processes& m_processes;
    platform::Clock& m_clock;
    FormView& m_view;
    std::string m_programFolder;
};

}  // namespace kv::gui
