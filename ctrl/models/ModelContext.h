// What the per-model routines work with besides the bound camera: the
// program's ports (pauses, console, files), the run's counters that the
// dispatcher keeps, and the direct USB path of the cameras driven without
// their capture filter.
#pragma once

#include "ctrl/models/RunCounters.h"
#include "platform/Ports.h"

namespace kv::ctrl {

class DirectUsbPath;

struct ModelContext {
    platform::Ports& ports;
    DispatchCounters& counters;
    DirectUsbPath& directUsb;
};

}  // namespace kv::ctrl
