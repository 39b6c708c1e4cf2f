// The library's remembered camera table: which index each camera has, kept
// across re-opens within the process.
#pragma once

#include <vector>

#include "ctrl/xulib/CameraProbe.h"

namespace kv::ctrl::xulib {

struct DeviceSlot {
    std::string devicePath;
    int kind = 0;
    std::shared_ptr<CameraLink> link;
};

// Takes the cameras an open found (in enumeration order, at most
// wire::kMaxCameras are kept). A camera is known again by its device path and
// its kind (one filter can give a plug-in and an Aveo entry with the same path).
// The table ends with exactly the cameras found: the remembered ones first,
// in their old order and with this open's links, then the new ones in
// enumeration order. So while every remembered camera stays connected each
// keeps its index and a new one takes the next; when one is gone, the ones
// after it move up.
void Reconcile(std::vector<DeviceSlot>& slots, const std::vector<FoundCamera>& found);

}  // namespace kv::ctrl::xulib
