// How a stand-in outside library reaches a rig device: the adapter carries
// the request out and waits out its hang in its own way.
#pragma once

#include <cstddef>
#include <functional>

#include "sim/rig/Session.h"

namespace kv::sim {

// One request to a rig device.
using DeviceCall = std::function<Answer(Session&, std::size_t)>;
// Carries `call` out on `device` and waits out its hang, as the adapter does it.
using Asker = std::function<Answer(std::size_t device, const DeviceCall& call)>;

}  // namespace kv::sim
