// Enumeration of the video-input devices into the camera table.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ctrl/cli/CameraTable.h"
#include "platform/CaptureDevices.h"

namespace kv::ctrl {

using LogLine = std::function<void(const std::string&)>;

// The status of an enumeration that threw; the main routine logs the same
// text for any other step of the run that throws.
inline constexpr const char* kFailedStepText = "Error:...";

// Fetches every device of the video-input category and keeps those whose
// lower-cased "DevicePath" contains "vid_a168" (after its first character).
// Returns the status text: the last device path read, lower-cased, or
// "Error: 1" (no enumerator), "Error: 2" (no category enumerator),
// "Error: 3" (no device), kFailedStepText (an exception on the way; the table
// keeps the cameras found until then).
std::string EnumerateCameras(platform::DeviceEnumerator* enumerator, CameraTable& table, const LogLine& log);

}  // namespace kv::ctrl
