// The Aveo extension unit's 32-byte command blocks: register select and
// write, I2C write and read, extended commands, and failures.
#include <gtest/gtest.h>

#include "tests/sim/hw/HwTestSupport.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::sim::test {
namespace {

constexpr std::uint32_t kNode = 2;

ByteVector Block(std::initializer_list<std::uint8_t> head) {
    ByteVector block(32, 0);
    std::copy(head.begin(), head.end(), block.begin());
    return block;
}

class AveoXuTest : public ::testing::Test {
protected:
    AveoXuTest() {
        cam.config.aveoXu = {true, kNode};
        cam.config.nodeTypes = {wire::kNodeCameraTerminal, wire::kNodeVideoProcessing, wire::kNodeDevSpecific};
        cam.AddDevice(0x78);
        cam.AddDevice(0x62);
    }
    HResult Set(ByteVector block) { return cam.Ks(wire::kAveoXuSet, 2, kSetTopology, kNode, block).hr; }
    ByteVector Get() {
        ByteVector block(32, 0);
        EXPECT_EQ(cam.Ks(wire::kAveoXuSet, 2, kGetTopology, kNode, block).hr, 0);
        return block;
    }
    TestCamera cam;
};

TEST_F(AveoXuTest, RegisterReadAnswersSixteenBitsFromBothAddressBytes) {
    cam.state.bridge.registers[0x1006] = 0x34;
    cam.state.bridge.registers[0x1007] = 0x12;
    ASSERT_EQ(Set(Block({1, 0x06, 0x10})), 0);
    const ByteVector reply = Get();
    EXPECT_EQ(reply[1] + 256 * reply[2], 0x1234);
}

TEST_F(AveoXuTest, RegisterWriteGoesToTheSelectedRegisterOnly) {
    cam.state.bridge.registers[0x0081] = 0x55;
    ASSERT_EQ(Set(Block({1, 0x80, 0x00})), 0);
    ASSERT_EQ(Set(Block({3, 0x05, 0x00})), 0);
    EXPECT_EQ(cam.state.bridge.registers[0x0080], 0x05);
    EXPECT_EQ(cam.state.bridge.registers[0x0081], 0x55);
    EXPECT_EQ(cam.state.bridge.registers[0x0084], 0x05);
}

TEST_F(AveoXuTest, I2cWriteTakesTheTwoByteAddressFromA4ThenA3) {
    // xulib: A3 = address byte 1, A4 = address byte 0 for a two-byte address; F bit 4.
    ASSERT_EQ(Set(Block({5, 0xFC, 0, 0x03, 0x35, 0x78, 0x10})), 0);
    EXPECT_EQ(cam.state.i2cDevices[0x78].registers[0x3503], 0xFC);
    ASSERT_EQ(Set(Block({5, 0x0F, 0, 0x04, 0x00, 0x62, 0x00})), 0);
    EXPECT_EQ(cam.state.i2cDevices[0x62].registers[0x04], 0x0F);
}

TEST_F(AveoXuTest, I2cReadAnswersInByteOne) {
    cam.state.i2cDevices[0x78].registers[0x3503] = 0x03;
    ASSERT_EQ(Set(Block({0xE0, 0, 0, 0x03, 0x35, 0x78, 0x10})), 0);
    const ByteVector reply = Get();
    EXPECT_EQ(reply[0], 0xE0);
    EXPECT_EQ(reply[1], 0x03);
}

TEST_F(AveoXuTest, NonAcknowledgedTransfersFailTheRequest) {
    cam.config.i2cDevices[0x78].acknowledges = false;
    EXPECT_EQ(Set(Block({5, 0xFC, 0, 0x03, 0x35, 0x78, 0x10})), wire::kHrGenFailure);
    EXPECT_EQ(Set(Block({0xE0, 0, 0, 0x03, 0x35, 0x78, 0x10})), wire::kHrGenFailure);
    EXPECT_EQ(Set(Block({5, 0x01, 0, 0x00, 0x00, 0x46, 0x00})), wire::kHrGenFailure) << "nothing at 0x46";
    EXPECT_EQ(cam.state.bridge.registers[5] & 0x10, 0x10);
    EXPECT_TRUE(cam.state.i2cDevices[0x78].registers.empty());
}

TEST_F(AveoXuTest, I2cTransfersReachOnlyTheDevicesOnThePortRegisterSixSelects) {
    cam.config.i2cDevices[0x62].port = 2;
    cam.state.i2cDevices[0x62].registers[0x50] = 0x2A;
    EXPECT_EQ(Set(Block({5, 0x0F, 0, 0x04, 0x00, 0x62, 0x00})), wire::kHrGenFailure) << "port 1 is selected";
    EXPECT_EQ(Set(Block({0xE0, 0, 0, 0x50, 0x00, 0x62, 0x00})), wire::kHrGenFailure);
    EXPECT_EQ(cam.state.i2cDevices[0x62].registers.count(0x04), 0u);

    ASSERT_EQ(Set(Block({1, 0x06, 0x00})), 0);
    ASSERT_EQ(Set(Block({3, 0x04})), 0);
    EXPECT_EQ(Set(Block({5, 0x0F, 0, 0x04, 0x00, 0x62, 0x00})), 0);
    EXPECT_EQ(cam.state.i2cDevices[0x62].registers[0x04], 0x0F);
    ASSERT_EQ(Set(Block({0xE0, 0, 0, 0x50, 0x00, 0x62, 0x00})), 0);
    EXPECT_EQ(Get()[1], 0x2A);
}

TEST_F(AveoXuTest, ExtendedCommandsKeepTheirLastValuesPerCommandByte) {
    ASSERT_EQ(Set(Block({0xF2, 0x01})), 0);
    ASSERT_EQ(Set(Block({0xF3, 0x01})), 0);
    ASSERT_EQ(Set(Block({0xF2, 0x00})), 0);
    EXPECT_EQ(cam.state.aveoXu.extended[0xF2][0], 0x00);
    EXPECT_EQ(cam.state.aveoXu.extended[0xF3][0], 0x01);
    EXPECT_EQ(cam.state.aveoXu.extended[0xF3].size(), 31u);
    EXPECT_TRUE(cam.state.bridge.registers.empty()) << "extended commands touch no register";
}

TEST_F(AveoXuTest, WrongSizeOrIdIsRefused) {
    ByteVector small(31, 0);
    small[0] = 1;
    EXPECT_EQ(cam.Ks(wire::kAveoXuSet, 2, kSetTopology, kNode, small).hr, wire::kHrGenFailure);
    ByteVector block = Block({1, 0x80});
    EXPECT_EQ(cam.Ks(wire::kAveoXuSet, 1, kSetTopology, kNode, block).hr, wire::kHrNotFound);
    ByteVector none;
    EXPECT_EQ(cam.Ks(wire::kAveoXuSet, 0, kSupportTopology, kNode, none).hr, 0);
    EXPECT_EQ(cam.Ks(wire::kPluginXuSet, 0, kSupportTopology, kNode, none).hr, wire::kHrSetNotFound);
}

}  // namespace
}  // namespace kv::sim::test
