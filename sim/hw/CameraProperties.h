// IAMVideoProcAmp and IAMCameraControl properties: ranges, values, flags.
#pragma once

#include <cstdint>

#include "sim/hw/Hardware.h"
#include "wire/KsProperty.h"

namespace kv::sim {

enum class PropertyGroup { VideoProcAmp, CameraControl };

constexpr std::int32_t kFlagAuto = 1;
constexpr std::int32_t kFlagManual = 2;

// Unknown properties answer E_PROP_ID_UNSUPPORTED (wire::kHrNotFound); a set
// outside the range, off the step, or with a flag the property lacks
// answers E_INVALIDARG and changes nothing.
Answer PropertyGetRange(Hardware& hw, PropertyGroup group, std::int32_t property, PropertyRange& range);
Answer PropertyGet(Hardware& hw, PropertyGroup group, std::int32_t property, std::int32_t& value, std::int32_t& flags);
Answer PropertySet(Hardware& hw, PropertyGroup group, std::int32_t property, std::int32_t value, std::int32_t flags);

// The property's current value and flags, its default when never set.
PropertyValue CurrentProperty(const CameraConfig& config, const CameraState& state, PropertyGroup group,
                              std::int32_t property);

}  // namespace kv::sim
