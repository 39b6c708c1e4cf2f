// The console program's main routine: command line, help decision,
// enumeration, dispatch and shut-down.
#pragma once

#include "ctrl/cli/Dispatcher.h"
#include "ctrl/cli/RunContext.h"
#include "platform/Ports.h"

namespace kv::ctrl {

inline constexpr const char* kNoCameraText = "None Korvex Plugin!!";

// One run of KV_DS_Ctrl on `context`. The exit status is 0 in every case.
int RunKvDsCtrl(platform::Ports& ports, RunContext& context, Dispatcher& dispatcher);

}  // namespace kv::ctrl
