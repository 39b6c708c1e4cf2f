// zelunit.dll on a simulated rig under Wine: with the rig installed and the
// plug-in registered, the simulated filter's CreateNodeInstance creates
// zelunit, and its IExtensionUnit calls, made through the program's own
// capture-device adapter, land in the rig.
#include <gtest/gtest.h>

#include "platform/CameraWalk.h"
#include "platform/win32/Win32Adapters.h"
#include "tests/plugin/win32/ZelunitTestSupport.h"
#include "tests/sim/win32/InstalledRig.h"
#include "wire/PropertySets.h"

namespace kv::plugin::test {
namespace {

using kv::sim::win32::test::BridgeRegister;
using kv::sim::win32::test::DumpState;
using kv::sim::win32::test::InstalledRig;
using kv::sim::win32::test::TraceLines;

std::shared_ptr<platform::Filter> FirstFilter(platform::CaptureDevices& devices) {
    const auto walk = platform::CameraWalk::Open(devices);
    platform::CameraDescriptor device;
    std::shared_ptr<platform::Filter> filter;
    if (walk && walk->Next(device)) device.Bind(filter);
    return filter;
}

void Put(platform::ExtensionUnit& unit, std::uint32_t id, std::vector<std::uint8_t> bytes) {
    EXPECT_EQ(unit.put_Property(id, static_cast<std::uint32_t>(bytes.size()), bytes.data()), platform::kS_OK) << id;
}

TEST(RigWineTest, TheSimulatedFiltersNodeInstanceIsZelunitAndReachesTheRig) {
    InstalledRig installed{
        R"({"devices":[{"productId":"0x0870","extensionUnits":{"plugin":{"node":2}},"registers":{"0x0020":"0x5A"}}]})"};
    ASSERT_TRUE(installed.installed) << installed.error;
    const Zelunit zelunit;
    ASSERT_TRUE(zelunit.Loaded());
    ASSERT_EQ(zelunit.RegisterServer(), S_OK);

    platform::win32::Win32ComApartment apartment;
    platform::win32::Win32CaptureDevices devices;
    platform::win32::Win32ExtensionUnitFactory extensionUnits;
    ASSERT_EQ(apartment.Initialize(), platform::kS_OK);
    {
        const auto filter = FirstFilter(devices);
        ASSERT_TRUE(filter);
        std::shared_ptr<platform::KsTopologyInfo> topology;
        ASSERT_EQ(filter->QueryKsTopologyInfo(topology), platform::kS_OK);
        std::shared_ptr<platform::NodeInstance> instance;
        ASSERT_EQ(topology->CreateNodeInstance(2, wire::kIidKsNodeControl, instance), platform::kS_OK);
        std::shared_ptr<platform::ExtensionUnit> unit;
        ASSERT_EQ(instance->QueryExtensionUnit(unit), platform::kS_OK);
        instance.reset();
        std::uint32_t ready = 0;
        ASSERT_EQ(unit->is_Ready(&ready), platform::kS_OK);
        EXPECT_EQ(ready, 1u);

        // A register read and a register write, as the register library sends them.
        Put(*unit, 1, {2});
        Put(*unit, 2, {0x20, 1});
        std::uint8_t value = 0;
        EXPECT_EQ(unit->get_Property(2, 1, &value), platform::kS_OK);
        EXPECT_EQ(value, 0x5A);
        Put(*unit, 1, {1});
        Put(*unit, 1, {3});
        Put(*unit, 3, {0x21, 1, 0x77});
        Put(*unit, 1, {1});
        std::uint32_t size = 0;
        EXPECT_EQ(unit->get_InfoSize(&size), platform::kS_OK);
        EXPECT_EQ(size, 16u);

        // Created directly, the class serves the same cameras.
        std::shared_ptr<platform::ExtensionUnit> direct;
        ASSERT_EQ(extensionUnits.CreateExtensionUnit(direct), platform::kS_OK);
        ready = 0;
        EXPECT_EQ(direct->is_Ready(&ready), platform::kS_OK);
        EXPECT_EQ(ready, 1u);
        EXPECT_EQ(direct->end(), platform::kS_OK);
        EXPECT_EQ(unit->is_Ready(&ready), platform::kS_OK);
        EXPECT_EQ(ready, 0u);
    }
    apartment.Uninitialize();

    EXPECT_EQ(BridgeRegister(DumpState(installed.rig), 0, "0x0021"), 0x77);
    int pluginRequests = 0;
    for (const auto& line : TraceLines(installed.rig)) {
        if (line.dump().find("plugin-xu") != std::string::npos) ++pluginRequests;
    }
    EXPECT_EQ(pluginRequests, 8) << "seven transfers and the information query";
}

}  // namespace
}  // namespace kv::plugin::test
