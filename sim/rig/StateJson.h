// The state file's JSON form of one camera's state (also what `kvsim dump`
// prints).
#pragma once

#include <cstddef>

#include <nlohmann/json.hpp>

#include "sim/hw/CameraConfig.h"
#include "sim/hw/CameraState.h"

namespace kv::sim {

nlohmann::ordered_json CameraStateToJson(const CameraConfig& config, const CameraState& state);

// The same members in parts that change apart from one another (the bridge's
// registers, the extension units, the I2C devices, the rest), in the order
// CameraStateToJson gives them, so that a save redoes only what a request
// changed. SamePart tells whether two states show the same part.
constexpr std::size_t kStateParts = 4;
nlohmann::ordered_json StatePartJson(const CameraConfig& config, const CameraState& state, std::size_t part);
bool SamePart(const CameraState& a, const CameraState& b, std::size_t part);

// Throws FieldError naming the field when the JSON is not a camera state.
CameraState CameraStateFromJson(const CameraConfig& config, const nlohmann::json& json, const std::string& path);

}  // namespace kv::sim
