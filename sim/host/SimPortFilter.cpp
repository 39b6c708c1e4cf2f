// A bound simulated capture filter: each interface is there unless the rig
// says the device lacks it, and each call is one request to the rig.
#include "sim/host/SimPortFilter.h"

#include <vector>

#include "plugin/InProcessPlugin.h"
#include "sim/hw/Topology.h"
#include "wire/PropertySets.h"

namespace kv::sim::host {

namespace {

using platform::HResult;

std::span<const std::uint8_t> Bytes(const void* data, std::uint32_t length) {
    return {static_cast<const std::uint8_t*>(data), data ? length : 0u};
}

std::span<std::uint8_t> Bytes(void* data, std::uint32_t length) {
    return {static_cast<std::uint8_t*>(data), data ? length : 0u};
}

class SimKsControl : public platform::KsControl {
public:
    SimKsControl(SimContext& context, std::size_t device) : m_context(context), m_device(device) {}
    HResult KsProperty(const void* property, std::uint32_t propertyLength, void* data, std::uint32_t dataLength,
                       std::uint32_t* bytesReturned) override {
        const Answer answer = m_context.Settle(
            m_context.session().KsProperty(m_device, Bytes(property, propertyLength), Bytes(data, dataLength)));
        if (bytesReturned) *bytesReturned = answer.bytesReturned;
        return answer.hr;
    }

private:
    SimContext& m_context;
    std::size_t m_device;
};

class SimKsPropertySet : public platform::KsPropertySet {
public:
    SimKsPropertySet(SimContext& context, std::size_t device) : m_context(context), m_device(device) {}
    HResult Set(const platform::Guid& set, std::uint32_t id, const void* instanceData, std::uint32_t instanceLength,
                const void* propertyData, std::uint32_t dataLength) override {
        // The model may write into the data of a set; the caller's stays as given.
        const auto given = Bytes(propertyData, dataLength);
        std::vector<std::uint8_t> data(given.begin(), given.end());
        return m_context
            .Settle(m_context.session().PropertySetSet(m_device, set, id, Bytes(instanceData, instanceLength), data))
            .hr;
    }

private:
    SimContext& m_context;
    std::size_t m_device;
};

class SimKsTopologyInfo : public platform::KsTopologyInfo {
public:
    SimKsTopologyInfo(const CameraConfig& config, std::shared_ptr<platform::Filter> filter)
        : m_config(config), m_filter(std::move(filter)) {}
    HResult NumNodes(std::uint32_t& count) override {
        count = NodeCount(m_config);
        return platform::kS_OK;
    }
    HResult NodeType(std::uint32_t node, platform::Guid& type) override { return sim::NodeType(m_config, node, type); }
    // As the proxy does on Windows, for a node that answers the plug-in's
    // property set (the one set with a registered plug-in here): a plug-in
    // object, told the node and given the filter's control. A filter without
    // IKsControl makes the plug-in refuse, and so the instance.
    HResult CreateNodeInstance(std::uint32_t node, const platform::Guid& iid,
                               std::shared_ptr<platform::NodeInstance>& instance) override {
        if (node >= NodeCount(m_config)) return platform::kE_INVALIDARG;
        if (!NodeAnswers(m_config, node, wire::kPluginXuSet)) return platform::kE_NOINTERFACE;
        std::shared_ptr<platform::KsControl> control;
        if (platform::Failed(m_filter->QueryKsControl(control))) control.reset();
        return plugin::InProcessPlugin().CreateNodeInstance(node, iid, std::move(control), instance);
    }

private:
    const CameraConfig& m_config;
    std::shared_ptr<platform::Filter> m_filter;
};

class SimRangedProperties : public platform::RangedProperties {
public:
    SimRangedProperties(SimContext& context, std::size_t device, PropertyGroup group)
        : m_context(context), m_device(device), m_group(group) {}
    HResult GetRange(std::int32_t property, std::int32_t& minimum, std::int32_t& maximum, std::int32_t& step,
                     std::int32_t& defaultValue, std::int32_t& flags) override {
        PropertyRange range;
        const HResult hr = m_context.Settle(m_context.session().GetRange(m_device, m_group, property, range)).hr;
        minimum = range.min;
        maximum = range.max;
        step = range.step;
        defaultValue = range.def;
        flags = range.caps;
        return hr;
    }
    HResult Get(std::int32_t property, std::int32_t& value, std::int32_t& flags) override {
        return m_context.Settle(m_context.session().Get(m_device, m_group, property, value, flags)).hr;
    }
    HResult Set(std::int32_t property, std::int32_t value, std::int32_t flags) override {
        return m_context.Settle(m_context.session().Set(m_device, m_group, property, value, flags)).hr;
    }

private:
    SimContext& m_context;
    std::size_t m_device;
    PropertyGroup m_group;
};

class SimPortFilter : public platform::Filter, public std::enable_shared_from_this<SimPortFilter> {
public:
    SimPortFilter(SimContext& context, std::size_t device) : m_context(context), m_device(device) {}

    HResult QueryKsControl(std::shared_ptr<platform::KsControl>& control) override {
        return Offer<SimKsControl>("IKsControl", control, m_context, m_device);
    }
    HResult QueryKsPropertySet(std::shared_ptr<platform::KsPropertySet>& propertySet) override {
        return Offer<SimKsPropertySet>("IKsPropertySet", propertySet, m_context, m_device);
    }
    HResult QueryKsTopologyInfo(std::shared_ptr<platform::KsTopologyInfo>& topology) override {
        return Offer<SimKsTopologyInfo>("IKsTopologyInfo", topology, Entry().config, shared_from_this());
    }
    HResult QueryVideoProcAmp(std::shared_ptr<platform::RangedProperties>& procAmp) override {
        return Offer<SimRangedProperties>("IAMVideoProcAmp", procAmp, m_context, m_device, PropertyGroup::VideoProcAmp);
    }
    HResult QueryCameraControl(std::shared_ptr<platform::RangedProperties>& cameraControl) override {
        return Offer<SimRangedProperties>("IAMCameraControl", cameraControl, m_context, m_device,
                                          PropertyGroup::CameraControl);
    }
    // Video reaches no host graph, so the filter offers neither of its
    // video interfaces.
    HResult QueryVideoControl(std::shared_ptr<platform::VideoControl>&) override { return platform::kE_NOINTERFACE; }
    HResult QueryQualProp(std::shared_ptr<platform::QualProp>&) override { return platform::kE_NOINTERFACE; }
    // No window system here to show pages in.
    HResult ShowPropertyPages(void*, const std::string&) override { return platform::kE_NOTIMPL; }

private:
    const RigDevice& Entry() const { return m_context.rig().Device(m_device); }

    template <class Adapter, class Port, class... Args>
    HResult Offer(const char* interfaceName, std::shared_ptr<Port>& out, Args&&... args) {
        if (Entry().listing.Lacks(interfaceName)) return platform::kE_NOINTERFACE;
        out = std::make_shared<Adapter>(std::forward<Args>(args)...);
        return platform::kS_OK;
    }

    SimContext& m_context;
    std::size_t m_device;
};

}  // namespace

std::shared_ptr<platform::Filter> MakeSimPortFilter(SimContext& context, std::size_t device) {
    return std::make_shared<SimPortFilter>(context, device);
}

}  // namespace kv::sim::host
