// Driver property set, video-processing and camera-control properties,
// topology, and the state behind the stand-in outside libraries.
#include <gtest/gtest.h>

#include "sim/hw/DriverProperties.h"
#include "sim/hw/Topology.h"
#include "tests/sim/hw/HwTestSupport.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::sim::test {
namespace {

// The 40-byte block the camera object sends as instance and property data.
ByteVector DriverBlock(std::uint32_t id, std::int32_t value) {
    ByteVector block(40, 0);
    const auto set = wire::kDriverPropertySet.ToBytes();
    std::copy(set.begin(), set.end(), block.begin());
    wire::WriteLe32(block, 16, id);
    wire::WriteLe32(block, 20, 2);
    wire::WriteLe32(block, 24, static_cast<std::uint32_t>(value));
    return block;
}

class DriverPropertiesTest : public ::testing::Test {
protected:
    DriverPropertiesTest() {
        cam.config.driverProperties = true;
        cam.config.driverPropertyIds = {11, 12, 18, 29};
    }

    HResult Set(std::uint32_t id, const ByteVector& instance, ByteVector data) {
        return cam.camera().PropertySetSet(wire::kDriverPropertySet, id, instance, data).hr;
    }

    TestCamera cam;
};

TEST_F(DriverPropertiesTest, SetStoresTheValueFromBytes24To27) {
    const ByteVector block = DriverBlock(12, 1000000);
    ASSERT_EQ(Set(12, block, block), 0);
    EXPECT_EQ(cam.state.driverProperties[12], 1000000);
    ASSERT_EQ(Set(12, DriverBlock(12, -5), DriverBlock(12, -5)), 0);
    EXPECT_EQ(cam.state.driverProperties[12], -5);
}

// The camera object sends one 40-byte block as instance and as data; the
// driver refuses anything else, and the value stays.
TEST_F(DriverPropertiesTest, OnlyTheCameraObjectsBlockIsTaken) {
    const ByteVector good = DriverBlock(29, 2);
    ByteVector otherId = DriverBlock(11, 2);
    ByteVector otherFlags = good;
    wire::WriteLe32(otherFlags, 20, 1);
    ByteVector otherSet = good;
    otherSet[0] ^= 0xFF;
    ByteVector dirtyTail = good;
    dirtyTail[39] = 1;
    const ByteVector shortBlock(good.begin(), good.begin() + 28);
    ByteVector longBlock = good;
    longBlock.push_back(0);
    for (const ByteVector& bad : {otherId, otherFlags, otherSet, dirtyTail, shortBlock, longBlock}) {
        EXPECT_EQ(Set(29, bad, bad), wire::kHrGenFailure);
        EXPECT_EQ(Set(29, good, bad), wire::kHrGenFailure);
        EXPECT_EQ(Set(29, bad, good), wire::kHrGenFailure);
    }
    EXPECT_EQ(Set(29, {}, good), wire::kHrGenFailure) << "no instance";
    EXPECT_EQ(Set(29, good, DriverBlock(29, 1)), wire::kHrGenFailure) << "instance and data differ";
    EXPECT_TRUE(cam.state.driverProperties.empty());
}

// IKsPropertySet::Set is the one way in: the set is write-only, and through
// IKsControl it is unknown.
TEST_F(DriverPropertiesTest, AnsweredOnlyThroughIKsPropertySetSet) {
    ByteVector reply(40, 0);
    EXPECT_EQ(cam.camera().PropertySetGet(wire::kDriverPropertySet, 12, {}, reply).hr, wire::kHrNotSupported);
    std::uint32_t support = 0;
    ASSERT_EQ(cam.camera().PropertySetQuerySupported(wire::kDriverPropertySet, 29, support).hr, 0);
    EXPECT_EQ(support, 2u) << "set only";

    ByteVector viaControl = DriverBlock(29, 2);
    const ByteVector header(viaControl.begin(), viaControl.begin() + 24);
    EXPECT_EQ(cam.camera().KsProperty(header, viaControl).hr, wire::kHrSetNotFound);
    EXPECT_TRUE(cam.state.driverProperties.empty());
}

TEST_F(DriverPropertiesTest, UnknownIdsAndCamerasWithoutTheSetAreRefused) {
    cam.config.driverPropertyIds = {29};
    const ByteVector block = DriverBlock(11, 1);
    EXPECT_EQ(Set(11, block, block), wire::kHrNotFound);
    cam.config.driverProperties = false;
    const ByteVector led = DriverBlock(29, 1);
    EXPECT_EQ(Set(29, led, led), wire::kHrSetNotFound);
    EXPECT_TRUE(cam.state.driverProperties.empty());
}

TEST(CameraPropertiesTest, RangesValuesAndRefusals) {
    TestCamera cam;
    cam.config.videoProcAmp[1] = PropertyRange{0, 64, 2, 32, 2};
    cam.config.cameraControl[4] = PropertyRange{-13, -1, 1, -6, 3};
    Camera camera = cam.camera();

    std::int32_t value = 0;
    std::int32_t flags = 0;
    ASSERT_EQ(camera.Get(PropertyGroup::VideoProcAmp, 1, value, flags).hr, 0);
    EXPECT_EQ(value, 32) << "the default until set";
    EXPECT_EQ(camera.Set(PropertyGroup::VideoProcAmp, 1, 65, 2).hr, platform::kE_INVALIDARG);
    EXPECT_EQ(camera.Set(PropertyGroup::VideoProcAmp, 1, 33, 2).hr, platform::kE_INVALIDARG) << "off the step";
    EXPECT_EQ(camera.Set(PropertyGroup::VideoProcAmp, 1, 30, 1).hr, platform::kE_INVALIDARG) << "no auto mode";
    ASSERT_EQ(camera.Set(PropertyGroup::VideoProcAmp, 1, 30, 2).hr, 0);
    camera.Get(PropertyGroup::VideoProcAmp, 1, value, flags);
    EXPECT_EQ(value, 30);
    EXPECT_EQ(camera.Set(PropertyGroup::VideoProcAmp, 0, 0, 2).hr, wire::kHrNotFound);

    PropertyRange range;
    ASSERT_EQ(camera.GetRange(PropertyGroup::CameraControl, 4, range).hr, 0);
    EXPECT_EQ(range.min, -13);
    ASSERT_EQ(camera.Set(PropertyGroup::CameraControl, 4, -5, 1).hr, 0);
    EXPECT_EQ(cam.state.cameraControl[4].flags, 1);
    EXPECT_EQ(cam.state.videoProcAmp.count(4), 0u);
}

TEST(TopologyTest, DefaultTopologyPutsEachUnitOnADeviceSpecificNode) {
    CameraConfig config;
    config.pluginXu = {true, 2};
    config.aveoXu = {true, 3};
    config.nodeTypes = DefaultNodeTypes(config);
    ASSERT_EQ(NodeCount(config), 4u);
    platform::Guid type;
    ASSERT_EQ(NodeType(config, 0, type), 0);
    EXPECT_EQ(type, wire::kNodeCameraTerminal);
    NodeType(config, 1, type);
    EXPECT_EQ(type, wire::kNodeVideoProcessing);
    NodeType(config, 3, type);
    EXPECT_EQ(type, wire::kNodeDevSpecific);
    EXPECT_EQ(NodeType(config, 4, type), platform::kE_INVALIDARG);
    EXPECT_TRUE(NodeAnswers(config, 2, wire::kPluginXuSet));
    EXPECT_FALSE(NodeAnswers(config, 2, wire::kAveoXuSet));
}

TEST(SmiUtilityTest, SensorRegistersGoOverTheBusAndPortsAreKept) {
    TestCamera cam;
    cam.config.smi = true;
    cam.AddDevice(0x78);
    Camera camera = cam.camera();
    ASSERT_EQ(camera.SmiSetSensorRegister(0x3A1B, 268).hr, 0);
    EXPECT_EQ(cam.state.i2cDevices[0x78].registers[0x3A1B], 268 & 0xFF) << "one-byte registers keep the low byte";
    ASSERT_EQ(cam.records.back().i2c.size(), 1u);
    EXPECT_EQ(cam.records.back().i2c[0].address, (ByteVector{0x3A, 0x1B}));
    std::int32_t value = 0;
    ASSERT_EQ(camera.SmiGetSensorRegister(0x3A1B, value).hr, 0);
    EXPECT_EQ(value, 12);

    ASSERT_EQ(camera.SmiSetGpio(3, 0x04).hr, 0);
    ASSERT_EQ(camera.SmiGetGpio(3, value).hr, 0);
    EXPECT_EQ(value, 0x04);
    EXPECT_EQ(camera.SmiSetGpio(4, 1).hr, platform::kE_INVALIDARG);

    cam.config.i2cDevices[0x78].acknowledges = false;
    EXPECT_EQ(camera.SmiSetSensorRegister(0x3503, 7).hr, platform::kE_FAIL);
    cam.config.smi = false;
    EXPECT_EQ(camera.SmiGetGpio(0, value).hr, platform::kE_FAIL);
}

TEST(AsicLibTest, ReadsAndWritesTheBridgeRegisterFile) {
    TestCamera cam;
    cam.config.asicLib = true;
    cam.state.bridge.registers[0x100A] = 0x03;
    Camera camera = cam.camera();
    std::int32_t value = 0;
    ASSERT_EQ(camera.AsicRead(0x100A, value).hr, 0);
    EXPECT_EQ(value, 3);
    ASSERT_EQ(camera.AsicWrite(0x100A, 0x101).hr, 0);
    EXPECT_EQ(cam.state.bridge.registers[0x100A], 0x01);
    cam.config.asicLib = false;
    EXPECT_EQ(camera.AsicWrite(0x100A, 0).hr, platform::kE_FAIL);
}

}  // namespace
}  // namespace kv::sim::test
