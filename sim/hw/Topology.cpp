// Node types and the extension units behind each node.
#include "sim/hw/Topology.h"

#include <algorithm>

#include "wire/PropertySets.h"

namespace kv::sim {

std::uint32_t NodeCount(const CameraConfig& config) { return static_cast<std::uint32_t>(config.nodeTypes.size()); }

platform::HResult NodeType(const CameraConfig& config, std::uint32_t node, platform::Guid& type) {
    if (node >= config.nodeTypes.size()) return platform::kE_INVALIDARG;
    type = config.nodeTypes[node];
    return platform::kS_OK;
}

std::vector<platform::Guid> NodeSets(const CameraConfig& config, std::uint32_t node) {
    std::vector<platform::Guid> sets;
    if (node >= config.nodeTypes.size()) return sets;
    if (config.bridgeXu.present && config.bridgeXu.node == node) sets.push_back(wire::kBridgeXuSet);
    if (config.pluginXu.present && config.pluginXu.node == node) sets.push_back(wire::kPluginXuSet);
    if (config.aveoXu.present && config.aveoXu.node == node) sets.push_back(wire::kAveoXuSet);
    return sets;
}

bool NodeAnswers(const CameraConfig& config, std::uint32_t node, const platform::Guid& set) {
    const auto sets = NodeSets(config, node);
    return std::find(sets.begin(), sets.end(), set) != sets.end();
}

std::vector<platform::Guid> DefaultNodeTypes(const CameraConfig& config) {
    std::uint32_t count = 2;
    for (const ExtensionUnitSettings* xu : {&config.bridgeXu, &config.pluginXu, &config.aveoXu}) {
        if (xu->present) count = std::max(count, xu->node + 1);
    }
    std::vector<platform::Guid> types(count, wire::kNodeVideoProcessing);
    types[0] = wire::kNodeCameraTerminal;
    for (const ExtensionUnitSettings* xu : {&config.bridgeXu, &config.pluginXu, &config.aveoXu}) {
        if (xu->present) types[xu->node] = wire::kNodeDevSpecific;
    }
    return types;
}

}  // namespace kv::sim
