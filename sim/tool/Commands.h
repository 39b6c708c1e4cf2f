// The kvsim commands: one table row per command.
#pragma once

#include <span>

#include "sim/rig/RigCommand.h"

namespace kv::sim::tool {

// dump, trace, reset, and on the Windows build install and uninstall.
std::span<const Command> Commands();

}  // namespace kv::sim::tool
