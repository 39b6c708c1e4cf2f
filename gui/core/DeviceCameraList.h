// The camera list read from the system's video-input devices: the Korvex
// cameras in the same order, and with the same limit, as KV_DS_Ctrl's camera
// table, so that row r is KV_DS_Ctrl's camera r + 1.
#pragma once

#include <string>
#include <vector>

#include "gui/core/CameraList.h"
#include "platform/CaptureDevices.h"

namespace kv::gui {

struct ListedCamera {
    std::string name;          // "FriendlyName"; the device path when there is none
    std::string deviceString;  // the lower-cased "DevicePath"
};

class DeviceCameraList : public CameraList {
public:
    explicit DeviceCameraList(platform::CaptureDevices& devices) : m_devices(devices) {}

    void Update() override;
    int Count() const override { return static_cast<int>(m_cameras.size()); }
    std::string DisplayName(int index) const override;
    std::string DeviceString(int index) const override;
    void SetCurrent(int index) override { m_current = index; }
    int Current() const override { return m_current; }
    bool FirstSwitch() const override { return m_firstSwitch; }
    void SetFirstSwitch(bool on) override { m_firstSwitch = on; }
    bool SecondSwitch() const override { return m_secondSwitch; }
    void SetSecondSwitch(bool on) override { m_secondSwitch = on; }
    // Cameras with product id 0978 or 09b0 have an AXI LED.
    std::int16_t QueryAxi() const override;

private:
    const ListedCamera* At(int index) const;

    platform::CaptureDevices& m_devices;
    std::vector<ListedCamera> m_cameras;
    int m_current = -1;
    bool m_firstSwitch = false;
    bool m_secondSwitch = false;
};

// The Korvex cameras of the video-input category, in enumeration order, at
// most kMaxKorvexCameras; empty when the category cannot be read.
std::vector<ListedCamera> ListKorvexCameras(platform::DeviceEnumerator& enumerator);

}  // namespace kv::gui
