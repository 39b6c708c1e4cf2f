// Enumeration of the video-input devices into the camera table.
#include "ctrl/cli/Enumeration.h"

#include "ctrl/common/KorvexDevices.h"
#include "ctrl/common/Text.h"

namespace kv::ctrl {

namespace {

using platform::kS_OK;

// A device whose path cannot be read does not match; the status keeps its
// previous text then.
void ReadDevice(platform::Moniker& moniker, CameraTable& table, std::string& status, const LogLine& log) {
    std::unique_ptr<platform::PropertyBag> bag;
    if (moniker.BindToStorage(bag) != kS_OK || !bag) return;
    std::string path;
    if (bag->Read("DevicePath", path) != kS_OK) return;
    log(path);
    status = ToLower(path);
    if (IsKorvexDevicePath(status)) table.Add(status);
}

void WalkCategory(platform::DeviceEnumerator& enumerator, CameraTable& table, std::string& status,
                  const LogLine& log) {
    std::unique_ptr<platform::MonikerEnumerator> monikers;
    if (enumerator.CreateVideoInputEnumerator(monikers) != kS_OK || !monikers) {
        status = "Error: 2";
        return;
    }
    log("hr==S_OK");
    monikers->Reset();
    status = "Error: 3";
    std::unique_ptr<platform::Moniker> moniker;
    while (monikers->Next(moniker) == kS_OK && moniker) {
        ReadDevice(*moniker, table, status, log);
        moniker.reset();
    }
    log("pEm->Reset");
    monikers->Reset();
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
