// Finding the extension-unit cameras: the video-input devices, and on each
// filter the plug-in unit (kind 1) and the Aveo unit (kind 2).
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "ctrl/xulib/CameraLink.h"
#include "platform/Ports.h"

namespace kv::ctrl::xulib {

// One camera entry found by an open, in enumeration order.
struct FoundCamera {
    std::string devicePath;  // "DevicePath" cut to its first 128 UTF-16 code units
    std::shared_ptr<CameraLink> link;
};

// Enumerates the category and probes every filter; a filter may give a
// kind-1 and a kind-2 entry (kind 1 first). The node of the last Aveo unit
// found goes into `aveoNode`, which every Aveo link reads.
std::vector<FoundCamera> FindCameras(platform::Ports& ports,
                                     const std::shared_ptr<std::atomic<std::uint32_t>>& aveoNode);

}  // namespace kv::ctrl::xulib
