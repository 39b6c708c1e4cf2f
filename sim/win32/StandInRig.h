// The rig that kvsimcam.dll and the stand-in libraries answer from, loaded
// once per file name and version in each process, and the wait a hanging
// request asks for.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "sim/rig/Session.h"

namespace kv::sim::win32 {

// The rig FindRigFile names; null when there is none or it cannot be read,
// after one "kvsim: ..." line on standard error (per distinct reason, so that
// a library called in a loop does not flood the console). The rig is read
// again when its file was edited since; a filter or USB handle bound to the
// older version keeps it, and its requests then fail (see LoadState), as a
// device handle does once its device is gone.
std::shared_ptr<const Rig> CurrentRig();

// Runs one request on the rig's device under the rig's lock, then lets the
// hang the model asked for pass, outside the lock (as a stuck device would
// keep its caller waiting without keeping other processes out).
Answer AskDevice(const Rig& rig, std::size_t device, const std::function<Answer(Session&, std::size_t)>& call);

}  // namespace kv::sim::win32
