// A bound capture node: the filter face the register library and the camera
// object query, with the extension units the node's USB device declares.
#pragma once

#include <memory>
#include <vector>

#include "platform/CaptureDevices.h"
#include "platform/ExtensionUnitFactory.h"
#include "linux_uvc/UvcRequests.h"

namespace kv::platform::linux_uvc {

// The plug-in's unit gets its node instances from `pluginClass`.
std::shared_ptr<Filter> MakeLinuxFilter(std::shared_ptr<OpenNode> node, std::vector<ExtensionUnitDescriptor> units,
                                        ExtensionUnitFactory& pluginClass);

}  // namespace kv::platform::linux_uvc
