// The stand-in libusbK.dll's live device lists and opened devices. Callers
// get opaque pointers; each is looked up here before use, so that a freed,
// foreign or null handle fails with ERROR_INVALID_HANDLE instead of crashing.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/win32/UsbKTypes.h"
#include "sim/rig/Rig.h"

namespace kv::sim::win32::usbk {

using namespace kv::platform::win32::usbk;

struct DeviceList {
    std::shared_ptr<const Rig> rig;
    std::vector<std::size_t> devices;  // rig index of each entry
    std::vector<DeviceInfo> entries;   // never resized after creation: callers keep pointers
    std::size_t next = 0;              // entry MoveNext answers next
};

struct OpenDevice {
    std::shared_ptr<const Rig> rig;
    std::size_t device = 0;
};

void* AddList(std::unique_ptr<DeviceList> list);
bool FreeList(void* handle);
// Runs `use` on the list under the handles' lock; false for an unknown handle.
bool WithList(void* handle, const std::function<void(DeviceList&)>& use);
// The rig device behind an entry of a live list.
std::optional<OpenDevice> DeviceOfEntry(const DeviceInfo* entry);

void* AddDevice(const OpenDevice& device);
bool FreeDevice(void* handle);
std::optional<OpenDevice> FindDevice(void* handle);
// Device handles opened and not yet freed; none when the tables are busy
// (a thread that held their lock was ended with its process).
std::size_t OpenDeviceCount();

}  // namespace kv::sim::win32::usbk
