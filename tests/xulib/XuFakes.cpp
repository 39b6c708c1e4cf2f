// Fake cameras for the register library.
#include "tests/xulib/XuFakes.h"

#include <cstdio>
#include <cstring>
#include <thread>

#include "plugin/ExtensionUnitCore.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::test {

namespace {

using platform::HResult;
using platform::kE_FAIL;
using platform::kS_OK;

constexpr HResult kNotFound = static_cast<HResult>(0x80070490u);

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    char byte[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(byte, sizeof byte, " %02X", bytes[i]);
        text += byte;
    }
    return text;
}

std::uint32_t Le32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

class FakeNodeInstance : public platform::NodeInstance {
public:
    explicit FakeNodeInstance(std::shared_ptr<platform::ExtensionUnit> unit) : m_unit(std::move(unit)) {}
    HResult QueryExtensionUnit(std::shared_ptr<platform::ExtensionUnit>& unit) override {
        unit = m_unit;
        return kS_OK;
    }

private:
    std::shared_ptr<platform::ExtensionUnit> m_unit;
};

// The filter's control as the plug-in object reaches it: node requests of
// the plug-in set go to the node's unit fake, whose bridge and log serve.
class UnitNodeControl : public platform::KsControl {
public:
    explicit UnitNodeControl(std::shared_ptr<FakePluginUnit> unit) : m_unit(std::move(unit)) {}
    HResult KsProperty(const void* property, std::uint32_t, void* data, std::uint32_t dataLength,
                       std::uint32_t*) override {
        const auto* raw = static_cast<const std::uint8_t*>(property);
        auto* bytes = static_cast<std::uint8_t*>(data);
        const std::uint32_t id = Le32(raw + 16);
        const HResult hr = Le32(raw + 20) == wire::kNodeSet ? m_unit->put_Property(id, dataLength, bytes)
                                                            : m_unit->get_Property(id, dataLength, bytes);
        ++m_answered;  // like a driver's handle, the control is used again when the request returns
        return hr;
    }

private:
    std::shared_ptr<FakePluginUnit> m_unit;
    int m_answered = 0;
};

std::shared_ptr<platform::ExtensionUnit> MakePluginObject(plugin::PluginState& state, std::uint32_t node,
                                                          std::shared_ptr<FakePluginUnit> unit) {
    auto object = std::make_shared<plugin::ExtensionUnitCore>(state);
    object->put_NodeId(node);
    object->put_KsControl(std::make_shared<UnitNodeControl>(std::move(unit)));
    return object;
}

class FakeTopology : public platform::KsTopologyInfo {
public:
    FakeTopology(FakeCamera& camera, std::vector<std::uint32_t>& instancesMade)
        : m_camera(camera), m_instancesMade(instancesMade) {}
    HResult NumNodes(std::uint32_t& count) override {
        count = static_cast<std::uint32_t>(m_camera.nodeTypes.size());
        return kS_OK;
    }
    HResult NodeType(std::uint32_t node, platform::Guid& type) override {
        if (node >= m_camera.nodeTypes.size()) return kE_FAIL;
        type = m_camera.nodeTypes[node];
        return kS_OK;
    }
    HResult CreateNodeInstance(std::uint32_t node, const platform::Guid& iid,
                               std::shared_ptr<platform::NodeInstance>& instance) override {
        const auto plugin = m_camera.plugins.find(node);
        if (iid != wire::kIidKsNodeControl || plugin == m_camera.plugins.end()) return platform::kE_NOINTERFACE;
        m_instancesMade.push_back(node);
        std::shared_ptr<platform::ExtensionUnit> unit = plugin->second;
        if (m_camera.pluginState != nullptr) unit = MakePluginObject(*m_camera.pluginState, node, plugin->second);
        instance = std::make_shared<FakeNodeInstance>(std::move(unit));
        return kS_OK;
    }

private:
    FakeCamera& m_camera;
    std::vector<std::uint32_t>& m_instancesMade;
};

class FakeFilter : public platform::Filter {
public:
    FakeFilter(FakeCamera& camera, std::vector<std::uint32_t>& instancesMade)
        : m_camera(camera), m_instancesMade(instancesMade) {}
    HResult QueryKsControl(std::shared_ptr<platform::KsControl>& control) override {
        control = m_camera.control;
        return control ? kS_OK : platform::kE_NOINTERFACE;
    }
    HResult QueryKsPropertySet(std::shared_ptr<platform::KsPropertySet>&) override { return platform::kE_NOINTERFACE; }
    HResult QueryKsTopologyInfo(std::shared_ptr<platform::KsTopologyInfo>& topology) override {
        topology = std::make_shared<FakeTopology>(m_camera, m_instancesMade);
        return kS_OK;
    }
    HResult QueryVideoProcAmp(std::shared_ptr<platform::RangedProperties>&) override {
        return platform::kE_NOINTERFACE;
    }
    HResult QueryCameraControl(std::shared_ptr<platform::RangedProperties>&) override {
        return platform::kE_NOINTERFACE;
    }
    HResult QueryVideoControl(std::shared_ptr<platform::VideoControl>&) override { return platform::kE_NOINTERFACE; }
    HResult QueryQualProp(std::shared_ptr<platform::QualProp>&) override { return platform::kE_NOINTERFACE; }
    HResult ShowPropertyPages(void*, const std::string&) override { return platform::kE_NOINTERFACE; }

private:
    FakeCamera& m_camera;
    std::vector<std::uint32_t>& m_instancesMade;
};

}  // namespace

void RequestLog::Add(std::string line) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.push_back(std::move(line));
}

std::vector<std::string> RequestLog::Lines() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

void RequestLog::Clear() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

std::uint8_t FakeBridge::Read(std::uint16_t address) const {
    const auto found = registers.find(address);
    return found == registers.end() ? 0 : found->second;
}

HResult FakePluginUnit::get_InfoSize(std::uint32_t* size) {
    if (size == nullptr) return platform::kE_POINTER;
    *size = 16;
    return kS_OK;
}

HResult FakePluginUnit::get_Info(std::uint32_t, std::uint8_t*) { return kS_OK; }

HResult FakePluginUnit::get_PropertySize(std::uint32_t, std::uint32_t* size) { return get_InfoSize(size); }

HResult FakePluginUnit::get_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) {
    m_log.Add("GET " + std::to_string(id) + " " + std::to_string(size));
    if (id == 2) {
        for (std::uint32_t i = 0; i < size; ++i)
            value[i] = m_bridge.Read(static_cast<std::uint16_t>(m_readAddress + i));
    } else if (id == 4) {
        for (std::uint32_t i = 0; i < size; ++i) value[i] = i < m_bridge.i2cReply.size() ? m_bridge.i2cReply[i] : 0xFF;
    }
    return kS_OK;
}

HResult FakePluginUnit::put_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) {
    if (putDelayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(putDelayMs.load()));
    m_log.Add(id == 1 ? "LEN " + std::to_string(value[0]) : "PUT " + std::to_string(id) + Hex(value, size));
    if (failPut && *failPut == id) return kE_FAIL;
    if (id == 2) {
        m_readAddress = value[0];
        m_readLength = value[1];
    } else if (id == 3) {
        for (std::uint32_t i = 0; i < value[1]; ++i)
            m_bridge.registers[static_cast<std::uint16_t>(value[0] + i)] = value[2 + i];
    } else if (id == 4 || id == 5 || id == 19) {
        m_bridge.registers[5] = m_bridge.i2cAcknowledged ? 0 : 0x10;
    }
    return kS_OK;
}

HResult FakePluginUnit::is_Ready(std::uint32_t* isReady) {
    *isReady = ready ? 1 : 0;
    return kS_OK;
}

HResult FakePluginUnit::SwitchHandle(std::uint32_t deviceNumber) {
    m_log.Add("SWITCH " + std::to_string(deviceNumber));
    return kS_OK;
}

HResult FakePluginUnit::end() {
    ++endCalls;
    return kS_OK;
}

HResult FakeFilterControl::KsProperty(const void* property, std::uint32_t propertyLength, void* data,
                                      std::uint32_t dataLength, std::uint32_t* bytesReturned) {
    if (propertyLength != wire::kKsNodePropertySize) return platform::kE_INVALIDARG;
    const auto* raw = static_cast<const std::uint8_t*>(property);
    const platform::Guid set = platform::Guid::FromBytes(std::span<const std::uint8_t>(raw, 16));
    const std::uint32_t id = Le32(raw + 16);
    const std::uint32_t flags = Le32(raw + 20);
    const std::uint32_t node = Le32(raw + 24);
    const auto answers = nodeSets.find(node);
    const bool known = answers != nodeSets.end() && answers->second == set;
    if (flags == wire::kNodeSetSupport) return known ? kS_OK : kNotFound;
    if (!known || set != wire::kAveoXuSet || id != 2 || dataLength != 32 || Le32(raw + 28) != 0) return kNotFound;
    if (aveoDelayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(aveoDelayMs.load()));
    auto* block = static_cast<std::uint8_t*>(data);
    std::size_t used = 32;
    while (used > 0 && block[used - 1] == 0) --used;
    const bool isSet = flags == wire::kNodeSet;
    m_log.Add(std::string(isSet ? "AVEO SET@" : "AVEO GET@") + std::to_string(node) + Hex(block, used));
    if (aveoFails) return kE_FAIL;
    if (bytesReturned) *bytesReturned = 32;
    if (isSet) {
        if (block[0] == 0x03)
            m_bridge.registers[static_cast<std::uint16_t>(m_selected[1] | (m_selected[2] << 8))] = block[1];
        if (block[0] == 0x01 || block[0] == 0xE0) std::memcpy(m_selected.data(), block, 32);
        return kS_OK;
    }
    std::memset(block, 0, 32);
    block[0] = m_selected[0];
    if (m_selected[0] == 0x01) {
        const auto address = static_cast<std::uint16_t>(m_selected[1] | (m_selected[2] << 8));
        block[1] = m_bridge.Read(address);
        block[2] = m_bridge.Read(static_cast<std::uint16_t>(address + 1));
    } else if (m_selected[0] == 0xE0 && !m_bridge.i2cReply.empty()) {
        block[1] = m_bridge.i2cReply[0];
    }
    return kS_OK;
}

FakeCamera& XuWorld::AddCamera(const std::string& path, std::uint32_t node, const platform::Guid& set) {
    bridges.push_back(std::make_unique<FakeBridge>());
    FakeCamera& camera = cameras.emplace_back();
    camera.nodeTypes.assign(node + 1, platform::Guid{});
    camera.nodeTypes[node] = wire::kNodeDevSpecific;
    camera.control = std::make_shared<FakeFilterControl>(log, *bridges.back());
    camera.control->nodeSets[node] = set;
    fake.captureDevices.AddNamedDevice(path, "Camera").filter = std::make_shared<FakeFilter>(camera, nodeInstancesMade);
    return camera;
}

FakeCamera& XuWorld::AddPluginCamera(const std::string& path, std::uint32_t node) {
    FakeCamera& camera = AddCamera(path, node, wire::kPluginXuSet);
    camera.plugins[node] = std::make_shared<FakePluginUnit>(log, *bridges.back());
    return camera;
}

FakeCamera& XuWorld::AddAveoCamera(const std::string& path, std::uint32_t node) {
    return AddCamera(path, node, wire::kAveoXuSet);
}

}  // namespace kv::test
