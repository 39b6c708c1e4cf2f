// What a rig file describes: the video-input devices in enumeration order,
// each with what the system's device enumerator shows of it and, for the
// simulated hardware, its configuration and initial state.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sim/hw/CameraConfig.h"
#include "sim/hw/CameraState.h"
#include "wire/KsProperty.h"

namespace kv::sim {

enum class EnumeratorMode {
    Normal,
    CreateFails,    // the system device enumerator cannot be created
    EmptyCategory,  // the video-input category has no devices
};

// Interface names a device can lack.
inline constexpr const char* kInterfaceNames[] = {"IKsControl", "IKsPropertySet", "IKsTopologyInfo", "IAMVideoProcAmp",
                                                  "IAMCameraControl"};

// What a device's listing faults answer, the same on the host as under
// Windows: binding a `bindFails` device fails the way a device that cannot be
// opened does (HRESULT_FROM_WIN32(ERROR_GEN_FAILURE)), and reading a value a
// device's property bag lacks gives what the system's bag answers
// (HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)).
constexpr platform::HResult kHrBindFails = wire::kHrGenFailure;
constexpr platform::HResult kHrNoSuchValue = static_cast<platform::HResult>(0x80070002u);

struct DeviceListing {
    std::optional<std::string> friendlyName;  // nothing: the property bag has no "FriendlyName"
    std::optional<std::string> devicePath;    // nothing: the property bag has no "DevicePath"
    bool bindFails = false;                   // binding the moniker to a filter fails
    std::set<std::string> missingInterfaces;  // names from kInterfaceNames
    std::string usbInstanceId;                // device instance id the USB library lists (direct USB)
    std::int32_t usbDriverId = 0;

    bool Lacks(const std::string& interfaceName) const { return missingInterfaces.count(interfaceName) != 0; }
};

struct RigDevice {
    DeviceListing listing;
    CameraConfig config;
    CameraState initial;
};

struct RigDescription {
    std::string description;
    EnumeratorMode enumerator = EnumeratorMode::Normal;
    std::vector<RigDevice> devices;
};

}  // namespace kv::sim
