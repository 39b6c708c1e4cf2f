// A bound capture node: the filter face the register library and the camera
// object query, with the extension units the node's USB device declares.
#pragma once

#include <memory>
#include <vector>

#include "platform/CaptureDevices.h"
#include "platform/linux/UvcRequests.h"

namespace kv::platform::linux_uvc {

std::shared_ptr<Filter> MakeLinuxFilter(std::shared_ptr<OpenNode> node, std::vector<ExtensionUnitDescriptor> units);

}  // namespace kv::platform::linux_uvc
