// A bound simulated capture filter and its interfaces.
#pragma once

#include <memory>

#include "platform/CaptureDevices.h"
#include "sim/host/SimContext.h"

namespace kv::sim::host {

std::shared_ptr<platform::Filter> MakeSimPortFilter(SimContext& context, std::size_t device);

}  // namespace kv::sim::host
