// IExtensionUnit and IKsNodeControl over the shared plug-in state.
#include "plugin/ExtensionUnitCore.h"

#include "wire/ExtensionUnits.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::plugin {

namespace {

using platform::HResult;

// Every request goes to the plug-in unit's set, on the node the proxy gave.
wire::NodePropertyBytes NodeProperty(std::uint32_t id, std::uint32_t flags, std::uint32_t node) {
    return wire::NodeProperty(wire::kPluginXuSet, id, flags, node);
}

}  // namespace

HResult ExtensionUnitCore::get_InfoSize(std::uint32_t* size) { return Size(wire::kPluginInfo, size); }

HResult ExtensionUnitCore::get_Info(std::uint32_t size, std::uint8_t* info) {
    return Transfer(wire::kPluginInfo, wire::kNodeGet, size, info);
}

HResult ExtensionUnitCore::get_PropertySize(std::uint32_t id, std::uint32_t* size) { return Size(id, size); }

HResult ExtensionUnitCore::get_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) {
    return Transfer(id, wire::kNodeGet, size, value);
}

HResult ExtensionUnitCore::put_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) {
    return Transfer(id, wire::kNodeSet, size, value);
}

HResult ExtensionUnitCore::is_Ready(std::uint32_t* ready) {
    if (ready == nullptr) return platform::kE_POINTER;
    *ready = m_state.current() != nullptr ? 1 : 0;
    return platform::kS_OK;
}

HResult ExtensionUnitCore::SwitchHandle(std::uint32_t deviceNumber) {
    return m_state.Select(deviceNumber) ? platform::kS_OK : platform::kE_INVALIDARG;
}

HResult ExtensionUnitCore::end() {
    m_state.Clear();
    return platform::kS_OK;
}

HResult ExtensionUnitCore::put_NodeId(std::uint32_t nodeId) {
    m_state.SetNodeId(nodeId);
    return platform::kS_OK;
}

HResult ExtensionUnitCore::put_KsControl(std::shared_ptr<platform::KsControl> control) {
    const bool empty = control == nullptr;
    if (!m_state.Append(std::move(control))) return kControlListFull;
    return empty ? platform::kE_NOINTERFACE : platform::kS_OK;
}

// A get without data: the driver tells the size with a more-data answer.
HResult ExtensionUnitCore::Size(std::uint32_t id, std::uint32_t* size) {
    if (size == nullptr) return platform::kE_POINTER;
    // Held for the request: an end on another thread does not release it
    // under the request.
    const std::shared_ptr<platform::KsControl> control = m_state.current();
    if (control == nullptr) return kNotReady;
    const auto property = NodeProperty(id, wire::kNodeGet, m_state.nodeId());
    std::uint32_t returned = 0;
    const HResult hr = control->KsProperty(property.data(), wire::kKsNodePropertySize, nullptr, 0, &returned);
    if (hr != wire::kHrMoreData) return hr;
    *size = returned;
    return platform::kS_OK;
}

HResult ExtensionUnitCore::Transfer(std::uint32_t id, std::uint32_t flags, std::uint32_t size, std::uint8_t* data) {
    // A buffer that is not there cannot carry `size` bytes either way.
    if (data == nullptr && size != 0) return platform::kE_POINTER;
    const std::shared_ptr<platform::KsControl> control = m_state.current();
    if (control == nullptr) return kNotReady;
    const auto property = NodeProperty(id, flags, m_state.nodeId());
    std::uint32_t returned = 0;
    return control->KsProperty(property.data(), wire::kKsNodePropertySize, data, size, &returned);
}

}  // namespace kv::plugin
