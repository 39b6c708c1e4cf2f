// The one walk over the video-input category.
#include "platform/CameraWalk.h"

namespace kv::platform {

namespace {

std::optional<std::string> ReadText(PropertyBag& bag, const char* name) {
    std::string value;
    if (bag.Read(name, value) != kS_OK) return std::nullopt;
    return value;
}

}  // namespace

HResult CameraDescriptor::Bind(std::shared_ptr<Filter>& filter) const {
    return moniker ? moniker->BindToObject(filter) : kE_FAIL;
}

CameraWalk::CameraWalk(DeviceEnumerator& enumerator) {
    m_opened = enumerator.CreateVideoInputEnumerator(m_monikers);
    if (m_opened != kS_OK) m_monikers.reset();
}

std::unique_ptr<CameraWalk> CameraWalk::Open(CaptureDevices& devices) {
    std::unique_ptr<DeviceEnumerator> enumerator;
    if (devices.CreateSystemDeviceEnumerator(enumerator) != kS_OK || !enumerator) return nullptr;
    auto walk = std::make_unique<CameraWalk>(*enumerator);
    if (!walk->Opened()) return nullptr;
    return walk;
}

HResult CameraWalk::Reset() { return m_monikers ? m_monikers->Reset() : kE_FAIL; }

bool CameraWalk::Next(CameraDescriptor& device) {
    device = CameraDescriptor{};
    if (!m_monikers) return false;
    std::unique_ptr<Moniker> moniker;
    if (m_monikers->Next(moniker) != kS_OK || !moniker) return false;
    device.moniker = std::move(moniker);
    std::unique_ptr<PropertyBag> bag;
    const HResult storage = device.moniker->BindToStorage(bag);
    if (Failed(storage) || !bag) return true;
    device.storage = storage;
    device.devicePath = ReadText(*bag, "DevicePath");
    device.friendlyName = ReadText(*bag, "FriendlyName");
    return true;
}

}  // namespace kv::platform
