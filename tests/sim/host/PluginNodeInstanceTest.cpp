// Node instances on the host: the simulated topology makes zelunit's plug-in
// object for a node that answers the plug-in set, as the proxy does on
// Windows, and its property calls reach the rig's extension unit.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "plugin/PluginIds.h"
#include "plugin/PluginState.h"
#include "sim/host/SimulatedDevices.h"
#include "tests/fakes/FakePorts.h"
#include "wire/PropertySets.h"

namespace kv::sim::host {
namespace {

namespace fs = std::filesystem;
using platform::kE_INVALIDARG;
using platform::kE_NOINTERFACE;
using platform::kS_OK;

const char* kRig = R"({
  "devices": [
    {"friendlyName": "Plug-in camera", "productId": "0x0870", "instance": "6&aa&0&0000",
     "extensionUnits": {"bridge": {"node": 1}, "plugin": {"node": 2}}, "registers": {"0x0020": "0x5A"}},
    {"friendlyName": "Second camera", "productId": "0x0871", "instance": "6&bb&0&0000",
     "extensionUnits": {"plugin": {"node": 2}}, "registers": {"0x0020": "0x33"}},
    {"friendlyName": "No control", "productId": "0x0872", "instance": "6&cc&0&0000",
     "extensionUnits": {"plugin": {"node": 2}}, "missingInterfaces": ["IKsControl"]}
  ]})";

class PluginNodeInstanceTest : public ::testing::Test {
protected:
    PluginNodeInstanceTest() {
        // Every test starts with an empty plug-in state.
        plugin::PluginState::Process().Clear();
        folder = fs::temp_directory_path() / ("kv-plugin-node-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
        std::string error;
        auto rig = Rig::FromText(folder / "rig.json", kRig, error);
        EXPECT_TRUE(rig) << error;
        devices = std::make_unique<SimulatedDevices>(std::make_unique<SimContext>(std::move(rig), clock));
        observer = Rig::FromText(folder / "rig.json", kRig, error);
        session = std::make_unique<Session>(*observer);
    }
    ~PluginNodeInstanceTest() override {
        plugin::PluginState::Process().Clear();
        fs::remove_all(folder);
    }

    std::shared_ptr<platform::KsTopologyInfo> Topology(std::size_t device) {
        std::unique_ptr<platform::DeviceEnumerator> enumerator;
        EXPECT_EQ(devices->captureDevices().CreateSystemDeviceEnumerator(enumerator), kS_OK);
        std::unique_ptr<platform::MonikerEnumerator> monikers;
        EXPECT_EQ(enumerator->CreateVideoInputEnumerator(monikers), kS_OK);
        std::unique_ptr<platform::Moniker> moniker;
        for (std::size_t i = 0; i <= device; ++i) EXPECT_EQ(monikers->Next(moniker), kS_OK);
        std::shared_ptr<platform::Filter> filter;
        EXPECT_EQ(moniker->BindToObject(filter), kS_OK);
        std::shared_ptr<platform::KsTopologyInfo> topology;
        EXPECT_EQ(filter->QueryKsTopologyInfo(topology), kS_OK);
        return topology;
    }
    std::shared_ptr<platform::ExtensionUnit> Plugin(std::size_t device) {
        std::shared_ptr<platform::NodeInstance> instance;
        EXPECT_EQ(Topology(device)->CreateNodeInstance(2, wire::kIidKsNodeControl, instance), kS_OK);
        std::shared_ptr<platform::ExtensionUnit> unit;
        if (instance) {
            EXPECT_EQ(instance->QueryExtensionUnit(unit), kS_OK);
        }
        return unit;
    }
    // The register library's plug-in register read: LEN 2, PUT 2, GET 2, LEN 1.
    std::uint8_t ReadRegister(platform::ExtensionUnit& unit, std::uint8_t address) {
        std::uint8_t length = 2;
        std::uint8_t request[2] = {address, 1};
        std::uint8_t value = 0;
        EXPECT_EQ(unit.put_Property(1, 1, &length), kS_OK);
        EXPECT_EQ(unit.put_Property(2, 2, request), kS_OK);
        EXPECT_EQ(unit.get_Property(2, 1, &value), kS_OK);
        length = 1;
        EXPECT_EQ(unit.put_Property(1, 1, &length), kS_OK);
        return value;
    }
    std::string Trace() {
        std::string text, error;
        EXPECT_TRUE(session->ReadTrace(text, error)) << error;
        return text;
    }

    fs::path folder;
    test::FakeClock clock;
    std::unique_ptr<SimulatedDevices> devices;
    std::unique_ptr<Rig> observer;
    std::unique_ptr<Session> session;
};

TEST_F(PluginNodeInstanceTest, ThePluginNodeGetsAPluginObjectThatReachesTheRig) {
    const auto unit = Plugin(0);
    ASSERT_TRUE(unit);
    std::uint32_t ready = 0;
    EXPECT_EQ(unit->is_Ready(&ready), kS_OK);
    EXPECT_EQ(ready, 1u);
    EXPECT_EQ(ReadRegister(*unit, 0x20), 0x5A);
    // The unit's information is its set's 16 bytes; its size comes from the
    // more-data answer to a get without data.
    std::uint32_t size = 0;
    EXPECT_EQ(unit->get_InfoSize(&size), kS_OK);
    EXPECT_EQ(size, 16u);
    const std::string trace = Trace();
    EXPECT_NE(trace.find("\"camera\":0,"), std::string::npos) << trace;
    EXPECT_NE(trace.find("plugin-xu"), std::string::npos) << trace;
}

TEST_F(PluginNodeInstanceTest, OnlyNodesThatAnswerThePluginSetHaveAnInstance) {
    const auto topology = Topology(0);
    std::shared_ptr<platform::NodeInstance> instance;
    EXPECT_EQ(topology->CreateNodeInstance(1, wire::kIidKsNodeControl, instance), kE_NOINTERFACE);
    EXPECT_EQ(topology->CreateNodeInstance(0, wire::kIidKsNodeControl, instance), kE_NOINTERFACE);
    EXPECT_EQ(topology->CreateNodeInstance(9, wire::kIidKsNodeControl, instance), kE_INVALIDARG);
    EXPECT_EQ(topology->CreateNodeInstance(2, plugin::kClsidExtensionUnit, instance), kE_NOINTERFACE);
    EXPECT_FALSE(instance);
    EXPECT_EQ(plugin::PluginState::Process().count(), 0u);
}

TEST_F(PluginNodeInstanceTest, CamerasShareOnePluginStateSelectedBySwitchHandle) {
    const auto first = Plugin(0);
    const auto second = Plugin(1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(ReadRegister(*first, 0x20), 0x33) << "the last camera added is current";
    EXPECT_EQ(second->SwitchHandle(0), kS_OK);
    EXPECT_EQ(ReadRegister(*second, 0x20), 0x5A);
    EXPECT_EQ(first->SwitchHandle(2), kE_INVALIDARG);

    // The directly created plug-in object is the same plug-in.
    std::shared_ptr<platform::ExtensionUnit> direct;
    ASSERT_EQ(devices->extensionUnits().CreateExtensionUnit(direct), kS_OK);
    EXPECT_EQ(direct->SwitchHandle(1), kS_OK);
    EXPECT_EQ(ReadRegister(*first, 0x20), 0x33);
    EXPECT_EQ(direct->end(), kS_OK);
    std::uint32_t ready = 1;
    EXPECT_EQ(first->is_Ready(&ready), kS_OK);
    EXPECT_EQ(ready, 0u);
}

TEST_F(PluginNodeInstanceTest, AFilterWithoutControlLeavesAnEmptyEntryAndNoInstance) {
    std::shared_ptr<platform::NodeInstance> instance;
    EXPECT_EQ(Topology(2)->CreateNodeInstance(2, wire::kIidKsNodeControl, instance), kE_NOINTERFACE);
    EXPECT_FALSE(instance);
    EXPECT_EQ(plugin::PluginState::Process().count(), 1u);
    std::shared_ptr<platform::ExtensionUnit> direct;
    ASSERT_EQ(devices->extensionUnits().CreateExtensionUnit(direct), kS_OK);
    std::uint32_t ready = 1;
    EXPECT_EQ(direct->is_Ready(&ready), kS_OK);
    EXPECT_EQ(ready, 0u);
}

}  // namespace
}  // namespace kv::sim::host
