// The state file's JSON form of one camera's state (also what `kvsim dump`
// prints).
#pragma once

#include <nlohmann/json.hpp>

#include "sim/hw/CameraConfig.h"
#include "sim/hw/CameraState.h"

namespace kv::sim {

nlohmann::ordered_json CameraStateToJson(const CameraConfig& config, const CameraState& state);

// Throws FieldError naming the field when the JSON is not a camera state.
CameraState CameraStateFromJson(const CameraConfig& config, const nlohmann::json& json, const std::string& path);

}  // namespace kv::sim
