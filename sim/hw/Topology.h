// A camera filter's node topology: node types, and which extension-unit
// property sets each node answers.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/HResult.h"
#include "sim/hw/CameraConfig.h"
#include "platform/Guid.h"

namespace kv::sim {

std::uint32_t NodeCount(const CameraConfig& config);
// E_INVALIDARG for a node beyond the count.
platform::HResult NodeType(const CameraConfig& config, std::uint32_t node, platform::Guid& type);
// The extension-unit sets the node answers (support test S_OK).
std::vector<platform::Guid> NodeSets(const CameraConfig& config, std::uint32_t node);
bool NodeAnswers(const CameraConfig& config, std::uint32_t node, const platform::Guid& set);

// The topology a camera gets when its rig names no node types: node 0 the
// camera terminal, each extension unit's node device-specific, every other
// node below the highest one a processing unit.
std::vector<platform::Guid> DefaultNodeTypes(const CameraConfig& config);

}  // namespace kv::sim
