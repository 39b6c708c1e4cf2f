// The bound source filter and its IKsControl, shared by every camera object
// of a run: the most recent successful Device_Init decides which device all
// of them work on. The run context owns the program's pair and never
// releases it: releasing COM pointers after the main routine has
// uninitialised COM would call into unloaded servers.
#pragma once

#include <memory>

#include "platform/CaptureDevices.h"

namespace kv::ctrl {

struct FilterPair {
    std::shared_ptr<platform::Filter> baseFilter;
    std::shared_ptr<platform::KsControl> ksControl;
};

}  // namespace kv::ctrl
