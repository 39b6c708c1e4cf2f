// The camera list over the capture-devices port.
#include "gui/core/DeviceCameraList.h"

#include "ctrl/common/KorvexDevices.h"
#include "ctrl/common/Text.h"
#include "gui/core/ProductGroups.h"
#include "platform/CameraWalk.h"

namespace kv::gui {

namespace {

using platform::kS_OK;

// A device whose path cannot be read is no camera of ours, as in KV_DS_Ctrl.
bool ReadCamera(const platform::CameraDescriptor& device, ListedCamera& camera) {
    if (device.storage != kS_OK || !device.devicePath) return false;
    camera.deviceString = ctrl::ToLower(*device.devicePath);
    if (!ctrl::IsKorvexDevicePath(camera.deviceString)) return false;
    camera.name = device.friendlyName.value_or(std::string());
    if (camera.name.empty()) camera.name = *device.devicePath;
    return true;
}

}  // namespace

std::vector<ListedCamera> ListKorvexCameras(platform::DeviceEnumerator& enumerator) {
    std::vector<ListedCamera> cameras;
    platform::CameraWalk walk(enumerator);
    if (!walk.Opened()) return cameras;
    walk.Reset();
    platform::CameraDescriptor device;
    while (static_cast<int>(cameras.size()) < ctrl::kMaxKorvexCameras && walk.Next(device)) {
        ListedCamera camera;
        if (ReadCamera(device, camera)) cameras.push_back(std::move(camera));
    }
    return cameras;
}

void DeviceCameraList::Update() {
    std::unique_ptr<platform::DeviceEnumerator> enumerator;
    std::vector<ListedCamera> cameras;
    try {
        if (m_devices.CreateSystemDeviceEnumerator(enumerator) == kS_OK && enumerator) {
            cameras = ListKorvexCameras(*enumerator);
        }
    } catch (...) {
        // A device that goes away in the middle of the walk: the list stays
        // as it was, and the next refresh reads it again.
        return;
    }
    m_cameras = std::move(cameras);
}

const ListedCamera* DeviceCameraList::At(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return &m_cameras[static_cast<std::size_t>(index)];
}

std::string DeviceCameraList::DisplayName(int index) const {
    const ListedCamera* camera = At(index);
    return camera ? camera->name : std::string();
}

std::string DeviceCameraList::DeviceString(int index) const {
    const ListedCamera* camera = At(index);
    return camera ? camera->deviceString : std::string();
}

std::int16_t DeviceCameraList::QueryAxi() const {
    const std::string pid = PidTextOf(DeviceString(m_current));
    return pid == "0978" || pid == "09b0" ? kAxiLedPresent : kNoAxiLed;
}

}  // namespace kv::gui
