// The camera list over the capture-devices port.
#include "gui/core/DeviceCameraList.h"

#include "ctrl/common/KorvexDevices.h"
#include "ctrl/common/Text.h"
#include "gui/core/ProductGroups.h"

namespace kv::gui {

namespace {

using platform::kS_OK;

// A device whose path cannot be read is no camera of ours, as in KV_DS_Ctrl.
bool ReadCamera(platform::Moniker& moniker, ListedCamera& camera) {
    std::unique_ptr<platform::PropertyBag> bag;
    if (moniker.BindToStorage(bag) != kS_OK || !bag) return false;
    std::string path;
    if (bag->Read("DevicePath", path) != kS_OK) return false;
    camera.deviceString = ctrl::ToLower(path);
    if (!ctrl::IsKorvexDevicePath(camera.deviceString)) return false;
    if (bag->Read("FriendlyName", camera.name) != kS_OK || camera.name.empty()) camera.name = path;
    return true;
}

}  // namespace

std::vector<ListedCamera> ListKorvexCameras(platform::DeviceEnumerator& enumerator) {
    std::vector<ListedCamera> cameras;
    std::unique_ptr<platform::MonikerEnumerator> monikers;
    if (enumerator.CreateVideoInputEnumerator(monikers) != kS_OK || !monikers) return cameras;
    monikers->Reset();
    std::unique_ptr<platform::Moniker> moniker;
    while (static_cast<int>(cameras.size()) < ctrl::kMaxKorvexCameras && monikers->Next(moniker) == kS_OK &&
           moniker) {
        ListedCamera camera;
        if (ReadCamera(*moniker, camera)) cameras.push_back(std::move(camera));
        moniker.reset();
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
