// The device list, the binding of each listed device, and the two probes.
#include "ctrl/xulib/CameraProbe.h"

#include "wire/KsProperty.h"
#include "wire/Limits.h"
#include "wire/PropertySets.h"

namespace kv::ctrl::xulib {

namespace {

using platform::HResult;
using platform::kS_OK;

constexpr std::size_t kPathUnits = 128;

struct ListedDevice {
    std::string devicePath;  // empty when the device has none
    std::string key;         // its "DevicePath", else its "FriendlyName"
};

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

template <class Visit>
void ForEachMoniker(platform::CaptureDevices& devices, Visit visit) {
    std::unique_ptr<platform::DeviceEnumerator> enumerator;
    std::unique_ptr<platform::MonikerEnumerator> monikers;
    if (devices.CreateSystemDeviceEnumerator(enumerator) != kS_OK || !enumerator ||
        enumerator->CreateVideoInputEnumerator(monikers) != kS_OK || !monikers) {
        return;
    }
    std::unique_ptr<platform::Moniker> moniker;
    while (monikers->Next(moniker) == kS_OK && moniker) {
        std::unique_ptr<platform::PropertyBag> bag;
        if (moniker->BindToStorage(bag) != kS_OK || !bag) continue;
        if (!visit(*moniker, *bag)) return;
    }
}

std::vector<ListedDevice> ListDevices(platform::CaptureDevices& devices) {
    std::vector<ListedDevice> listed;
    ForEachMoniker(devices, [&](platform::Moniker&, platform::PropertyBag& bag) {
        std::string friendlyName;
        std::string devicePath;
        if (bag.Read("FriendlyName", friendlyName) != kS_OK) return true;  // not a device to list
        if (bag.Read("DevicePath", devicePath) != kS_OK) devicePath.clear();
        listed.push_back({devicePath, devicePath.empty() ? friendlyName : devicePath});
        return listed.size() < wire::kMaxListedDevices;
    });
    return listed;
}

// Binds the first device whose "DevicePath" (else "FriendlyName") is `key`.
std::shared_ptr<platform::Filter> BindListed(platform::CaptureDevices& devices, const std::string& key) {
    std::shared_ptr<platform::Filter> filter;
    ForEachMoniker(devices, [&](platform::Moniker& moniker, platform::PropertyBag& bag) {
        std::string value;
        if (bag.Read("DevicePath", value) != kS_OK && bag.Read("FriendlyName", value) != kS_OK) return true;
        if (value != key) return true;
        if (moniker.BindToObject(filter) != kS_OK) filter.reset();
        return false;
    });
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
                                                                 : ports.captureDevices.CreateExtensionUnit(unit);
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
    for (const ListedDevice& device : ListDevices(ports.captureDevices)) {
        const auto filter = BindListed(ports.captureDevices, device.key);
        std::shared_ptr<platform::KsTopologyInfo> topology;
        if (!filter || filter->QueryKsTopologyInfo(topology) != kS_OK || !topology) continue;
        const std::string path = CutToUtf16Units(device.devicePath, kPathUnits);
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
