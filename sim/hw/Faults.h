// Matching of requests against a camera's injected faults.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "sim/hw/CameraConfig.h"

namespace kv::sim {

// The first fault whose path matches and whose op and id, where given, match.
const InjectedFault* MatchFault(const CameraConfig& config, std::string_view path, std::string_view op,
                                std::optional<std::uint32_t> id);

// The code a failing request answers with when its fault names none: the
// device stalls on the kernel-streaming and USB paths, the outside libraries
// report a plain failure.
platform::HResult DefaultFaultCode(std::string_view path);

// Request paths, as faults and the trace name them.
namespace paths {
inline constexpr std::string_view kBridgeXu = "bridge-xu";
inline constexpr std::string_view kPluginXu = "plugin-xu";
inline constexpr std::string_view kAveoXu = "aveo-xu";
inline constexpr std::string_view kDriver = "driver";
inline constexpr std::string_view kOtherKs = "ks";
inline constexpr std::string_view kVideoProcAmp = "videoprocamp";
inline constexpr std::string_view kCameraControl = "cameracontrol";
inline constexpr std::string_view kUsb = "usb";
inline constexpr std::string_view kSmi = "smi";
inline constexpr std::string_view kAsicLib = "asiclib";
}  // namespace paths

bool IsKnownPath(std::string_view path);

// The operations requests on `path` have (the trace's `op`), in the order
// documented; empty for an unknown path.
std::span<const std::string_view> PathOps(std::string_view path);

// False for the operations whose requests carry no id (opening the USB
// device, creating or initialising a library), which a fault's id could
// never match.
bool OpCarriesId(std::string_view op);

}  // namespace kv::sim
