// How many cameras, devices and bytes the register library and the plug-in
// handle; what lies beyond is ignored or refused.
#pragma once

#include <cstddef>

namespace kv::wire {

// Devices of the video-input category the register library lists per open.
constexpr std::size_t kMaxListedDevices = 64;
// Cameras the register library keeps in its table.
constexpr std::size_t kMaxCameras = 24;
// Controls the plug-in's shared list holds, one per node instance created.
constexpr std::size_t kMaxPluginControls = 24;
// Address bytes, and data bytes, of one I2C transfer.
constexpr int kMaxTransferBytes = 64;

}  // namespace kv::wire
