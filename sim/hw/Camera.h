// One simulated camera as its callers see it: every request a Windows
// interface or outside library can make, answered from the camera's state.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "sim/hw/CameraConfig.h"
#include "sim/hw/CameraProperties.h"
#include "sim/hw/CameraState.h"
#include "sim/hw/DirectUsbDevice.h"
#include "platform/Guid.h"
#include "sim/hw/Request.h"

namespace kv::sim {

// Works on the caller's state; appends to `records` (when given) one record
// per request: what it asked, what came back and what every bus device saw.
// Faults of the config are applied first; a request they fail is recorded
// with what it asked. Nothing here sleeps: a hang is reported in Answer::hangMs.
class Camera {
public:
    Camera(const CameraConfig& config, CameraState& state, std::vector<RequestRecord>* records = nullptr);

    // IKsControl::KsProperty: `property` is the KSPROPERTY or KSP_NODE as
    // sent, `data` the property data (input for a set, output for a get).
    Answer KsProperty(std::span<const std::uint8_t> property, std::span<std::uint8_t> data);

    // IKsPropertySet.
    Answer PropertySetSet(const platform::Guid& set, std::uint32_t id, std::span<const std::uint8_t> instance,
                          std::span<std::uint8_t> data);
    Answer PropertySetGet(const platform::Guid& set, std::uint32_t id, std::span<const std::uint8_t> instance,
                          std::span<std::uint8_t> data);
    // support: KSPROPERTY_SUPPORT_GET (1) | KSPROPERTY_SUPPORT_SET (2).
    Answer PropertySetQuerySupported(const platform::Guid& set, std::uint32_t id, std::uint32_t& support);

    // IAMVideoProcAmp / IAMCameraControl.
    Answer GetRange(PropertyGroup group, std::int32_t property, PropertyRange& range);
    Answer Get(PropertyGroup group, std::int32_t property, std::int32_t& value, std::int32_t& flags);
    Answer Set(PropertyGroup group, std::int32_t property, std::int32_t value, std::int32_t flags);

    // Direct USB: opening the device, and one control transfer (bytesReturned
    // = bytes transferred).
    Answer UsbOpen();
    Answer UsbControl(const UsbSetup& setup, std::span<std::uint8_t> buffer);

    // Stand-in SMIUtility.
    Answer SmiCreateDevice();
    Answer SmiSetSensorRegister(std::uint32_t reg, std::int32_t value);
    Answer SmiGetSensorRegister(std::uint32_t reg, std::int32_t& value);
    Answer SmiSetGpio(std::uint32_t port, std::int32_t value);
    Answer SmiGetGpio(std::uint32_t port, std::int32_t& value);

    // Stand-in ClientPropertyPageLIB.
    Answer AsicLibInit();
    Answer AsicRead(std::uint32_t reg, std::int32_t& value);
    Answer AsicWrite(std::uint32_t reg, std::int32_t value);
    Answer AsicLibUninit();

private:
    // `describe` records what the request asks (always); `body` carries it
    // out and records what came back, unless an injected fault stops it.
    template <class Describe, class Body>
    Answer Run(std::string_view path, std::string_view op, std::optional<std::uint32_t> id, Describe&& describe,
               Body&& body);

    const CameraConfig& config_;
    CameraState& state_;
    std::vector<RequestRecord>* records_;
};

}  // namespace kv::sim
