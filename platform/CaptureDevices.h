// Capture-devices port: the system device enumerator over the video-input
// category, shaped after the platform's COM calls so that the core reads like
// the sequence of calls it makes.
#pragma once

#include <memory>
#include <string>

#include "platform/HResult.h"

namespace kv::platform {

// A device's property bag ("DevicePath", "FriendlyName", ...).
class PropertyBag {
public:
    virtual ~PropertyBag() = default;
    // Reads a string property; anything but kS_OK leaves value unspecified.
    virtual HResult Read(const std::string& name, std::string& value) = 0;
};

// One device of the category.
class Moniker {
public:
    virtual ~Moniker() = default;
    virtual HResult BindToStorage(std::unique_ptr<PropertyBag>& bag) = 0;
};

class MonikerEnumerator {
public:
    virtual ~MonikerEnumerator() = default;
    virtual HResult Reset() = 0;
    // Fetches one moniker; kS_OK with a moniker, anything else at the end.
    virtual HResult Next(std::unique_ptr<Moniker>& moniker) = 0;
};

class DeviceEnumerator {
public:
    virtual ~DeviceEnumerator() = default;
    // kS_FALSE (and no enumerator) for an empty category, as the platform does.
    virtual HResult CreateVideoInputEnumerator(std::unique_ptr<MonikerEnumerator>& enumerator) = 0;
};

class CaptureDevices {
public:
    virtual ~CaptureDevices() = default;
    // COM apartment of the calling thread.
    virtual HResult Initialize() = 0;
    virtual void Uninitialize() = 0;
    virtual HResult CreateSystemDeviceEnumerator(std::unique_ptr<DeviceEnumerator>& enumerator) = 0;
};

}  // namespace kv::platform
