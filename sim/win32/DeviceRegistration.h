// Rig devices as video-input devices of the system device enumerator.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <cstddef>
#include <string>

#include "sim/rig/RigDescription.h"

namespace kv::sim::win32 {

// The device's instance name: the prefix and its three-digit rig index.
std::wstring InstanceName(std::size_t index);

// Registers rig device `index` with the simulated filter's class, its
// friendly name (the value is removed when the rig gives none), its
// "DevicePath" as the rig gives it (none when it has none) and its index.
bool RegisterDevice(IFilterMapper2& mapper, std::size_t index, const DeviceListing& listing, std::string& error);

// Removes every device an earlier install registered; the number removed in
// `removed`.
bool RemoveDevices(IFilterMapper2& mapper, std::size_t& removed, std::string& error);

}  // namespace kv::sim::win32
