// The one walk over the video-input category: device by device, each read
// into a descriptor that keeps the device's moniker for a later bind. The
// callers differ in what they log, skip and stop at; the walk itself makes
// the same platform calls for all of them.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/CaptureDevices.h"

namespace kv::platform {

// One device of the category as the walk read it.
struct CameraDescriptor {
    HResult storage = kE_FAIL;                // BindToStorage's answer; kE_FAIL when it gave no bag
    std::optional<std::string> devicePath;    // none: no bag, or the read failed
    std::optional<std::string> friendlyName;  // none: no bag, or the read failed
    std::shared_ptr<Moniker> moniker;

    // BindToObject on the device's moniker, its answer as it is.
    HResult Bind(std::shared_ptr<Filter>& filter) const;
};

class CameraWalk {
public:
    // Opens the category (CreateVideoInputEnumerator); the walk has no
    // device unless that answered kS_OK with an enumerator.
    explicit CameraWalk(DeviceEnumerator& enumerator);
    // The category's enumeration from the system's device enumerator, or no
    // walk when either creation fails.
    static std::unique_ptr<CameraWalk> Open(CaptureDevices& devices);

    bool Opened() const { return m_monikers != nullptr; }
    HResult OpenResult() const { return m_opened; }
    // Back to the first device (pEm->Reset).
    HResult Reset();
    // Reads the next device into `device`; false at the end of the category.
    // A platform exception passes through to the caller.
    bool Next(CameraDescriptor& device);

private:
    HResult m_opened = kE_FAIL;
    std::unique_ptr<MonikerEnumerator> m_monikers;
};

}  // namespace kv::platform
