// Enumeration of the video-input devices into the camera table.
#include "ctrl/cli/Enumeration.h"

#include "ctrl/common/KorvexDevices.h"
#include "ctrl/common/Text.h"
#include "platform/CameraWalk.h"

namespace kv::ctrl {

namespace {

using platform::kS_OK;

// A device whose path cannot be read does not match; the status keeps its
// previous text then.
void ReadDevice(const platform::CameraDescriptor& device, CameraTable& table, std::string& status, const LogLine& log) {
    if (device.storage != kS_OK || !device.devicePath) return;
    log(*device.devicePath);
    status = ToLower(*device.devicePath);
    if (IsKorvexDevicePath(status)) table.Add(status);
}

void WalkCategory(platform::DeviceEnumerator& enumerator, CameraTable& table, std::string& status, const LogLine& log) {
    platform::CameraWalk walk(enumerator);
    if (!walk.Opened()) {
        status = "Error: 2";
        return;
    }
    log("hr==S_OK");
    walk.Reset();
    status = "Error: 3";
    platform::CameraDescriptor device;
    while (walk.Next(device)) ReadDevice(device, table, status, log);
    log("pEm->Reset");
    walk.Reset();
    log("pEm->Release()");
}

}  // namespace

std::string EnumerateCameras(platform::DeviceEnumerator* enumerator, CameraTable& table, const LogLine& log) {
    std::string status;
    try {
        if (!enumerator) {
            status = "Error: 1";
        } else {
            WalkCategory(*enumerator, table, status, log);
        }
    } catch (...) {
        // Whatever goes wrong inside the platform's enumeration, the run goes
        // on with the cameras found so far.
        status = kFailedStepText;
    }
    return status;
}

}  // namespace kv::ctrl
