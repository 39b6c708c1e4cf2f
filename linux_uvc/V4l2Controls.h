// The standard camera properties (video processing and camera control) as
// the video driver's controls: the properties' ids, units and auto flags as
// the platform's proxy shows them, the values and ranges the driver's.
#pragma once

#include <memory>

#include "platform/CaptureDevices.h"
#include "linux_uvc/LinuxKernel.h"

namespace kv::platform::linux_uvc {

enum class ControlGroup { VideoProcAmp, CameraControl };

// Exposure is shown in the proxy's unit, log2 of seconds (-5 is 1/32 s);
// the driver counts it in 100 µs. Every other mapped property keeps the
// driver's value as it is. Pan, tilt, roll, iris and color enable are not
// mapped: they answer that the property is not found.
std::shared_ptr<RangedProperties> MakeV4l2Controls(std::shared_ptr<OpenNode> node, ControlGroup group);

// The proxy's exposure value for a time in 100 µs units, and back.
std::int32_t ExposureLog2(std::int32_t hundredMicroseconds);
std::int32_t ExposureHundredMicroseconds(std::int32_t log2Seconds);

}  // namespace kv::platform::linux_uvc
