// The kvsim commands of the Windows build: install and uninstall.
#pragma once

#include "sim/rig/RigCommand.h"

namespace kv::sim::win32 {

// "kvsim install [--server DLL]": registers the rig's devices in the current
// prefix and lists them. Exit status 0, 1 on failure, 2 for bad arguments.
int InstallCommand(const CommandContext& context);
// "kvsim uninstall": removes everything install wrote.
int UninstallCommand(const CommandContext& context);

}  // namespace kv::sim::win32
