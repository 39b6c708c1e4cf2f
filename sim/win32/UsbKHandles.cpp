// Handle tables of the stand-in USB library.
#include "sim/win32/UsbKHandles.h"

#include <map>
#include <mutex>

namespace kv::sim::win32::usbk {

namespace {

struct Tables {
    std::mutex mutex;
    std::map<void*, std::unique_ptr<DeviceList>> lists;
    std::map<void*, std::unique_ptr<OpenDevice>> devices;
};

Tables& TheTables() {
    static Tables tables;
    return tables;
}

}  // namespace

void* AddList(std::unique_ptr<DeviceList> list) {
    Tables& t = TheTables();
    const std::lock_guard<std::mutex> lock(t.mutex);
    void* handle = list.get();
    t.lists.emplace(handle, std::move(list));
    return handle;
}

bool FreeList(void* handle) {
    Tables& t = TheTables();
    const std::lock_guard<std::mutex> lock(t.mutex);
    return t.lists.erase(handle) != 0;
}

bool WithList(void* handle, const std::function<void(DeviceList&)>& use) {
    Tables& t = TheTables();
    const std::lock_guard<std::mutex> lock(t.mutex);
    const auto found = t.lists.find(handle);
    if (found == t.lists.end()) return false;
    use(*found->second);
    return true;
}

std::optional<OpenDevice> DeviceOfEntry(const DeviceInfo* entry) {
    Tables& t = TheTables();
    const std::lock_guard<std::mutex> lock(t.mutex);
    for (const auto& [handle, list] : t.lists) {
        for (std::size_t i = 0; i < list->entries.size(); ++i) {
            if (&list->entries[i] == entry) return OpenDevice{list->rig, list->devices[i]};
        }
    }
    return std::nullopt;
}

void* AddDevice(const OpenDevice& device) {
    Tables& t = TheTables();
    const std::lock_guard<std::mutex> lock(t.mutex);
    auto owned = std::make_unique<OpenDevice>(device);
    void* handle = owned.get();
    t.devices.emplace(handle, std::move(owned));
    return handle;
}

bool FreeDevice(void* handle) {
    Tables& t = TheTables();
    const std::lock_guard<std::mutex> lock(t.mutex);
    return t.devices.erase(handle) != 0;
}

std::size_t OpenDeviceCount() {
    Tables& t = TheTables();
    const std::unique_lock<std::mutex> lock(t.mutex, std::try_to_lock);
    return lock.owns_lock() ? t.devices.size() : 0;
}

std::optional<OpenDevice> FindDevice(void* handle) {
    Tables& t = TheTables();
    const std::lock_guard<std::mutex> lock(t.mutex);
    const auto found = t.devices.find(handle);
    if (found == t.devices.end()) return std::nullopt;
    return *found->second;
}

}  // namespace kv::sim::win32::usbk
