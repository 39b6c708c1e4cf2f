// The kvsim commands: one table row per command.
#pragma once

#include <ostream>
#include <span>
#include <string>

#include "sim/rig/Rig.h"

namespace kv::sim::tool {

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

// dump, trace, reset, and on the Windows build whatever that build adds.
std::span<const Command> Commands();

}  // namespace kv::sim::tool
