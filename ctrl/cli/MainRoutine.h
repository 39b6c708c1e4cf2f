// The console program's main routine: command line, help decision,
// enumeration, dispatch and shut-down.
#pragma once

#include "ctrl/camera/DxWnd.h"
#include "ctrl/cli/CameraTable.h"
#include "ctrl/cli/CommandLine.h"
#include "ctrl/cli/RunContext.h"
#include "platform/Ports.h"

namespace kv::ctrl {

// The step that carries the parsed command out on the cameras of the table.
class Dispatcher {
public:
    virtual ~Dispatcher() = default;
    // Called once per run with at least one camera in the table.
    virtual void Dispatch(const ParsedCommand& command, const CameraTable& table, CDxWnd& camera) = 0;
};

inline constexpr const char* kNoCameraText = "None Korvex Plugin!!";

// One run of KV_DS_Ctrl on `context`. The exit status is 0 in every case.
int RunKvDsCtrl(platform::Ports& ports, RunContext& context, Dispatcher& dispatcher);

}  // namespace kv::ctrl
