// Plug-in objects on the process-wide control list, as the class's COM server
// makes them on Windows.
#include "plugin/InProcessPlugin.h"

#include "plugin/ExtensionUnitCore.h"
#include "plugin/PluginIds.h"
#include "wire/PropertySets.h"

namespace kv::plugin {

namespace {

class PluginNodeInstance : public platform::NodeInstance {
public:
    explicit PluginNodeInstance(std::shared_ptr<ExtensionUnitCore> plugin) : m_plugin(std::move(plugin)) {}
    platform::HResult QueryExtensionUnit(std::shared_ptr<platform::ExtensionUnit>& unit) override {
        unit = m_plugin;
        return platform::kS_OK;
    }

private:
    std::shared_ptr<ExtensionUnitCore> m_plugin;
};

}  // namespace

platform::HResult InProcessPlugin::CreateExtensionUnit(std::shared_ptr<platform::ExtensionUnit>& unit) {
    unit = std::make_shared<ExtensionUnitCore>();
    return platform::kS_OK;
}

platform::HResult InProcessPlugin::CreateNodeInstance(std::uint32_t node, const platform::Guid& iid,
                                                      std::shared_ptr<platform::KsControl> control,
                                                      std::shared_ptr<platform::NodeInstance>& instance) {
    if (iid != wire::kIidKsNodeControl && iid != kIidExtensionUnit) return platform::kE_NOINTERFACE;
    auto plugin = std::make_shared<ExtensionUnitCore>();
    plugin->put_NodeId(node);
    const platform::HResult hr = plugin->put_KsControl(std::move(control));
    if (platform::Failed(hr)) return hr;
    instance = std::make_shared<PluginNodeInstance>(std::move(plugin));
    return platform::kS_OK;
}

}  // namespace kv::plugin
