// The port set a program of ours runs on, chosen in this one place.
#pragma once

#include <memory>

#include "platform/Ports.h"

namespace kv::ctrl {

// On Windows the platform's adapters: simulated cameras reach a Windows
// program only through the registry (kvsim install), like real ones. On the
// Linux host the POSIX adapters, with the capture devices, direct USB and
// outside libraries of the simulated rig that KV_SIM_RIG names, if it names
// one (a rig that cannot be read is reported on standard error and ignored).
std::unique_ptr<platform::SystemPorts> MakeProgramPorts(int argc, char** argv);

}  // namespace kv::ctrl
