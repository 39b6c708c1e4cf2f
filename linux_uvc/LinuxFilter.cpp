// The filter of a capture node: its control, its topology, the plug-in's
// node instances and the standard controls. The interfaces Linux has no
// counterpart for yet are lacking, as a filter without them answers.
#include "linux_uvc/LinuxFilter.h"

#include "linux_uvc/V4l2Controls.h"

#include "wire/PropertySets.h"

namespace kv::platform::linux_uvc {

namespace {

class UnitTopology : public KsTopologyInfo {
public:
    UnitTopology(std::vector<ExtensionUnitDescriptor> units, std::shared_ptr<KsControl> control,
                 ExtensionUnitFactory& pluginClass)
        : m_units(std::move(units)), m_control(std::move(control)), m_pluginClass(pluginClass) {}
    HResult NumNodes(std::uint32_t& count) override {
        count = kFirstUnitNode + static_cast<std::uint32_t>(m_units.size());
        return kS_OK;
    }
    HResult NodeType(std::uint32_t node, Guid& type) override {
        if (node >= kFirstUnitNode + m_units.size()) return kE_INVALIDARG;
        type = node < kFirstUnitNode ? wire::kNodeCameraTerminal : wire::kNodeDevSpecific;
        return kS_OK;
    }
    // As the platform's proxy does for a unit with a registered plug-in (the
    // plug-in's own unit here): the plug-in class makes the instance.
    HResult CreateNodeInstance(std::uint32_t node, const Guid& iid, std::shared_ptr<NodeInstance>& instance) override {
        if (node >= kFirstUnitNode + m_units.size()) return kE_INVALIDARG;
        if (node < kFirstUnitNode || m_units[node - kFirstUnitNode].guid != wire::kPluginXuSet) return kE_NOINTERFACE;
        return m_pluginClass.CreateNodeInstance(node, iid, m_control, instance);
    }

private:
    std::vector<ExtensionUnitDescriptor> m_units;
    std::shared_ptr<KsControl> m_control;
    ExtensionUnitFactory& m_pluginClass;
};

class NodeFilter : public Filter {
public:
    NodeFilter(std::shared_ptr<OpenNode> node, std::vector<ExtensionUnitDescriptor> units,
               ExtensionUnitFactory& pluginClass)
        : m_node(node),
          m_units(units),
          m_control(std::make_shared<UvcKsControl>(std::move(node), std::move(units))),
          m_pluginClass(pluginClass) {}

    HResult QueryKsControl(std::shared_ptr<KsControl>& control) override {
        control = m_control;
        return kS_OK;
    }
    HResult QueryKsTopologyInfo(std::shared_ptr<KsTopologyInfo>& topology) override {
        topology = std::make_shared<UnitTopology>(m_units, m_control, m_pluginClass);
        return kS_OK;
    }
    // The camera driver's own property set exists only on Windows.
    HResult QueryKsPropertySet(std::shared_ptr<KsPropertySet>&) override { return kNotOnThisPlatform; }
    HResult QueryVideoProcAmp(std::shared_ptr<RangedProperties>& procAmp) override {
        procAmp = MakeV4l2Controls(m_node, ControlGroup::VideoProcAmp);
        return kS_OK;
    }
    HResult QueryCameraControl(std::shared_ptr<RangedProperties>& cameraControl) override {
        cameraControl = MakeV4l2Controls(m_node, ControlGroup::CameraControl);
        return kS_OK;
    }
    HResult QueryVideoControl(std::shared_ptr<VideoControl>&) override { return kE_NOINTERFACE; }
    HResult QueryQualProp(std::shared_ptr<QualProp>&) override { return kE_NOINTERFACE; }
    HResult ShowPropertyPages(void*, const std::string&) override { return kE_NOTIMPL; }

private:
    std::shared_ptr<OpenNode> m_node;
    std::vector<ExtensionUnitDescriptor> m_units;
    std::shared_ptr<KsControl> m_control;
    ExtensionUnitFactory& m_pluginClass;
};

}  // namespace

std::shared_ptr<Filter> MakeLinuxFilter(std::shared_ptr<OpenNode> node, std::vector<ExtensionUnitDescriptor> units,
                                        ExtensionUnitFactory& pluginClass) {
    return std::make_shared<NodeFilter>(std::move(node), std::move(units), pluginClass);
}

}  // namespace kv::platform::linux_uvc
