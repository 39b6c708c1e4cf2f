// Driver property set, video-processing and camera-control properties,
// topology, and the state behind the stand-in outside libraries.
#include <gtest/gtest.h>

#include "sim/hw/DriverProperties.h"
#include "sim/hw/Topology.h"
#include "tests/sim/hw/HwTestSupport.h"

namespace kv::sim::test {
namespace {

// The 40-byte block the camera object sends as instance and property data.
ByteVector DriverBlock(std::uint32_t id, std::int32_t value) {
    ByteVector block(40, 0);
    const auto set = kDriverPropertySet.ToBytes();
    std::copy(set.begin(), set.end(), block.begin());
    WriteLe32(block, 16, id);
    WriteLe32(block, 20, 2);
    WriteLe32(block, 24, static_cast<std::uint32_t>(value));
    return block;
}

TEST(DriverPropertiesTest, SetStoresTheValueFromBytes24To27) {
    TestCamera cam;
    cam.config.driverProperties = true;
    cam.config.driverPropertyIds = {11, 12, 18, 29};
    ByteVector block = DriverBlock(12, 1000000);
    ASSERT_EQ(cam.camera().PropertySetSet(kDriverPropertySet, 12, block, block).hr, 0);
    EXPECT_EQ(cam.state.driverProperties[12], 1000000);

    ByteVector reply(40, 0);
    const Answer got = cam.camera().PropertySetGet(kDriverPropertySet, 12, {}, reply);
    ASSERT_EQ(got.hr, 0);
    EXPECT_EQ(ReadLe32(reply, 24), 1000000u);

    ByteVector viaControl = DriverBlock(29, 2);
    ByteVector header(viaControl.begin(), viaControl.begin() + 24);
    ASSERT_EQ(cam.camera().KsProperty(header, viaControl).hr, 0) << "IKsControl reaches the same driver";
    EXPECT_EQ(cam.state.driverProperties[29], 2);
}

TEST(DriverPropertiesTest, UnknownIdsAndCamerasWithoutTheSetAreRefused) {
    TestCamera cam;
    cam.config.driverProperties = true;
    cam.config.driverPropertyIds = {29};
    ByteVector block = DriverBlock(11, 1);
    EXPECT_EQ(cam.camera().PropertySetSet(kDriverPropertySet, 11, block, block).hr, kHrNotFound);
    ByteVector shortBlock(20, 0);
    EXPECT_EQ(cam.camera().PropertySetSet(kDriverPropertySet, 29, shortBlock, shortBlock).hr, kHrInsufficientBuffer);
    std::uint32_t support = 0;
    ASSERT_EQ(cam.camera().PropertySetQuerySupported(kDriverPropertySet, 29, support).hr, 0);
    EXPECT_EQ(support, 3u);

    cam.config.driverProperties = false;
    block = DriverBlock(29, 1);
    EXPECT_EQ(cam.camera().PropertySetSet(kDriverPropertySet, 29, block, block).hr, kHrSetNotFound);
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
    EXPECT_EQ(camera.Set(PropertyGroup::VideoProcAmp, 0, 0, 2).hr, kHrNotFound);

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
    Guid type;
    ASSERT_EQ(NodeType(config, 0, type), 0);
    EXPECT_EQ(type, kNodeCameraTerminal);
    NodeType(config, 1, type);
    EXPECT_EQ(type, kNodeVideoProcessing);
    NodeType(config, 3, type);
    EXPECT_EQ(type, kNodeDevSpecific);
    EXPECT_EQ(NodeType(config, 4, type), platform::kE_INVALIDARG);
    EXPECT_TRUE(NodeAnswers(config, 2, kPluginXuSet));
    EXPECT_FALSE(NodeAnswers(config, 2, kAveoXuSet));
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
