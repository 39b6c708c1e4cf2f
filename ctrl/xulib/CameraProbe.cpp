// The device list, the binding of each listed device, and the two probes.
#include "ctrl/xulib/CameraProbe.h"

#include "wire/KsProperty.h"
#include "wire/Limits.h"
#include "wire/PropertySets.h"
#include "platform/CameraWalk.h"

namespace kv::ctrl::xulib {

namespace {

using platform::HResult;
using platform::kS_OK;

constexpr std::size_t kPathUnits = 128;

// The first `units` UTF-16 code units of UTF-8 text (a code point above
// U+FFFF takes two).
std::string CutToUtf16Units(const std::string& text, std::size_t units) {
    std::size_t used = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::size_t needed = length == 4 ? 2 : 1;
        if (used + needed > units) break;
        used += needed;
        i += length;
    }
    return text.substr(0, std::min(i, text.size()));
}

// The devices that have a "FriendlyName", in enumeration order, at most
// wire::kMaxListedDevices; each keeps its moniker for the probe's bind.
std::vector<platform::CameraDescriptor> ListDevices(platform::CaptureDevices& devices) {
    std::vector<platform::CameraDescriptor> listed;
    const auto walk = platform::CameraWalk::Open(devices);
    platform::CameraDescriptor device;
    while (walk && listed.size() < wire::kMaxListedDevices && walk->Next(device)) {
        if (device.storage == kS_OK && device.friendlyName) listed.push_back(std::move(device));
    }
    return listed;
}

std::shared_ptr<platform::Filter> BindListed(const platform::CameraDescriptor& device) {
    std::shared_ptr<platform::Filter> filter;
    if (device.Bind(filter) != kS_OK) filter.reset();
    return filter;
}

std::vector<std::uint32_t> ExtensionUnitNodes(platform::KsTopologyInfo& topology) {
    std::vector<std::uint32_t> nodes;
    std::uint32_t count = 0;
    if (topology.NumNodes(count) != kS_OK) return nodes;
    for (std::uint32_t node = 0; node < count; ++node) {
        platform::Guid type;
        if (topology.NodeType(node, type) == kS_OK && type == wire::kNodeDevSpecific) nodes.push_back(node);
    }
    return nodes;
}

bool AnswersSet(platform::Filter& filter, const platform::Guid& set, std::uint32_t node,
                std::shared_ptr<platform::KsControl>& control) {
    if (filter.QueryKsControl(control) != kS_OK || !control) return false;
    const auto property = wire::NodeProperty(set, 0, wire::kNodeSetSupport, node);
    std::uint32_t returned = 0;
    return control->KsProperty(property.data(), wire::kKsNodePropertySize, nullptr, 0, &returned) == kS_OK;
}

// Systems from Vista on make node instances; older ones need the plug-in
// class created directly. A platform without Windows versions has only the
// node-instance path.
bool MakesNodeInstances(const platform::Environment& environment) {
    platform::OsVersion version;
    if (!environment.GetOsVersion(version)) return !environment.IsWindows();
    return version.platformId == 2 && version.major > 5;
}

// Kind 1: the first extension-unit node whose plug-in is ready. A node that
// does not answer the plug-in set, or whose node instance cannot be made,
// ends the probe.
std::shared_ptr<platform::ExtensionUnit> ProbePlugin(platform::Ports& ports, platform::Filter& filter,
                                                     platform::KsTopologyInfo& topology) {
    for (const std::uint32_t node : ExtensionUnitNodes(topology)) {
        std::shared_ptr<platform::KsControl> control;
        if (!AnswersSet(filter, wire::kPluginXuSet, node, control)) return nullptr;
        std::shared_ptr<platform::NodeInstance> instance;
        if (topology.CreateNodeInstance(node, wire::kIidKsNodeControl, instance) != kS_OK || !instance) return nullptr;
        std::shared_ptr<platform::ExtensionUnit> unit;
        const HResult hr = MakesNodeInstances(ports.environment) ? instance->QueryExtensionUnit(unit)
                                                                 : ports.extensionUnits.CreateExtensionUnit(unit);
        instance.reset();
        if (hr != kS_OK || !unit) continue;
        std::uint32_t ready = 0;
        if (unit->is_Ready(&ready) == kS_OK && ready != 0) return unit;
    }
    return nullptr;
}

// Kind 2: the first extension-unit node that answers the Aveo set.
std::shared_ptr<platform::KsControl> ProbeAveo(platform::Filter& filter, platform::KsTopologyInfo& topology,
                                               std::uint32_t& aveoNode) {
    for (const std::uint32_t node : ExtensionUnitNodes(topology)) {
        std::shared_ptr<platform::KsControl> control;
        if (AnswersSet(filter, wire::kAveoXuSet, node, control)) {
            aveoNode = node;
            return control;
        }
    }
    return nullptr;
}

}  // namespace

std::vector<FoundCamera> FindCameras(platform::Ports& ports,
                                     const std::shared_ptr<std::atomic<std::uint32_t>>& aveoNode) {
    std::vector<FoundCamera> found;
    std::uint32_t pluginCameras = 0;
    for (const platform::CameraDescriptor& device : ListDevices(ports.captureDevices)) {
        const auto filter = BindListed(device);
        std::shared_ptr<platform::KsTopologyInfo> topology;
        if (!filter || filter->QueryKsTopologyInfo(topology) != kS_OK || !topology) continue;
        const std::string path = CutToUtf16Units(device.devicePath.value_or(std::string()), kPathUnits);
        if (auto unit = ProbePlugin(ports, *filter, *topology)) {
            found.push_back({path, MakePluginLink(std::move(unit), pluginCameras++)});
        }
        std::uint32_t node = 0;
        if (auto control = ProbeAveo(*filter, *topology, node)) {
            aveoNode->store(node);
            found.push_back({path, MakeAveoLink(std::move(control), aveoNode)});
        }
    }
    return found;
}

}  // namespace kv::ctrl::xulib
