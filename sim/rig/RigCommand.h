// One kvsim command on a loaded rig: what it is given and how it is listed.
// The portable commands (sim/tool) and the Windows build's install commands
// (sim/win32) both implement it, and the tool's table lists them all.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "sim/rig/Rig.h"

namespace kv::sim {

struct CommandContext {
    const Rig& rig;
    std::span<const std::string> arguments;  // after the command name
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const CommandContext& context);  // the process's exit status
};

}  // namespace kv::sim
