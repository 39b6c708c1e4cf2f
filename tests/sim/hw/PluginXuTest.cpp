// The plug-in extension unit, driven with the register library's sequences:
// length announcements, register reads and writes by the low address byte,
// I2C transfers, and the failure bit in bridge register 5.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/sim/hw/HwTestSupport.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::sim::test {
namespace {

constexpr std::uint32_t kNode = 2;

class PluginXuTest : public ::testing::Test {
protected:
    PluginXuTest() {
        cam.config.pluginXu = {true, kNode};
        cam.config.nodeTypes = {wire::kNodeCameraTerminal, wire::kNodeVideoProcessing, wire::kNodeDevSpecific};
        cam.AddDevice(0x48);
        cam.AddDevice(0x78);
    }

    HResult Put(std::uint32_t id, ByteVector data) {
        return cam.Ks(wire::kPluginXuSet, id, kSetTopology, kNode, data).hr;
    }
    HResult Len(std::uint8_t n) { return Put(1, {n}); }
    ByteVector Get(std::uint32_t id, std::size_t size) {
        ByteVector data(size, 0xEE);
        EXPECT_EQ(cam.Ks(wire::kPluginXuSet, id, kGetTopology, kNode, data).hr, 0);
        return data;
    }

    ByteVector RegRead(std::uint8_t address, std::uint8_t length) {
        Len(2);
        Put(2, {address, length});
        ByteVector value = Get(2, length);
        Len(1);
        return value;
    }

    // An I2C write as the library sends it: flag 1 with data, else the option bit.
    HResult I2cWrite(std::uint8_t slave, ByteVector address, ByteVector data, std::uint8_t option = 0) {
        ByteVector block{slave, static_cast<std::uint8_t>(address.size() + data.size()),
                         static_cast<std::uint8_t>(data.empty() ? option : 1)};
        block.insert(block.end(), address.begin(), address.end());
        block.insert(block.end(), data.begin(), data.end());
        Len(static_cast<std::uint8_t>(block.size()));
        const HResult hr = Put(5, block);
        Len(1);
        return hr;
    }

    bool StatusOk() { return (RegRead(5, 1)[0] & 0x10) == 0; }

    TestCamera cam;
};

TEST_F(PluginXuTest, RegisterReadAnswersTheLengthAskedFromTheLowAddressByte) {
    cam.state.bridge.registers[0x84] = 0x05;
    cam.state.bridge.registers[0x85] = 0x06;
    cam.state.bridge.registers[0x1084] = 0x77;
    EXPECT_EQ(RegRead(0x84, 1), ByteVector{0x05});
    EXPECT_EQ(RegRead(0x84, 2), (ByteVector{0x05, 0x06}));
}

TEST_F(PluginXuTest, RegisterWriteTakesLengthBytes) {
    Len(5);
    ASSERT_EQ(Put(3, {0x80, 3, 0x01, 0x02, 0x03}), 0);
    Len(1);
    EXPECT_EQ(cam.state.bridge.registers[0x80], 0x01);
    EXPECT_EQ(cam.state.bridge.registers[0x81], 0x02);
    EXPECT_EQ(cam.state.bridge.registers[0x82], 0x03);
    EXPECT_EQ(cam.state.bridge.registers[0x84], 0x01) << "0x80 drives the lines read back at 0x84";
}

TEST_F(PluginXuTest, TransfersThatDisagreeWithTheAnnouncedLengthStall) {
    Len(3);
    EXPECT_EQ(Put(3, {0x80, 1, 0x01, 0x00}), wire::kHrGenFailure);
    EXPECT_EQ(Put(2, {0x80, 1}), wire::kHrGenFailure);
    EXPECT_EQ(Put(3, {0x80, 2, 0x01}), wire::kHrGenFailure) << "count disagrees with the block";
    Len(1);
    EXPECT_EQ(cam.state.bridge.registers.count(0x80), 0u);
    EXPECT_EQ(Put(1, {0x01, 0x02}), wire::kHrGenFailure);
    EXPECT_EQ(Put(6, {0x00}), wire::kHrNotFound);
}

// A reply is collected with a get of the size its read command asked for.
TEST_F(PluginXuTest, RepliesAreCollectedWithTheirExactSize) {
    cam.state.bridge.registers[0x84] = 0x05;
    Len(2);
    ASSERT_EQ(Put(2, {0x84, 1}), 0);
    for (const std::size_t size : {2u, 4u}) {
        ByteVector data(size, 0);
        EXPECT_EQ(cam.Ks(wire::kPluginXuSet, 2, kGetTopology, kNode, data).hr, wire::kHrGenFailure)
            << size << "-byte get";
    }
    EXPECT_EQ(Get(2, 1), ByteVector{0x05});
    Len(1);

    cam.state.i2cDevices[0x48].registers[0x0380] = 0x41;
    ASSERT_EQ(I2cWrite(0x48, {0x03, 0x80}, {}), 0);
    Len(3);
    ASSERT_EQ(Put(4, {0x48, 2, 1}), 0);
    ByteVector one(1, 0);
    EXPECT_EQ(cam.Ks(wire::kPluginXuSet, 4, kGetTopology, kNode, one).hr, wire::kHrGenFailure);
    EXPECT_EQ(Get(4, 2), (ByteVector{0x41, 0x00}));
    Len(1);
}

TEST_F(PluginXuTest, I2cReadBlockCarriesOneInItsThirdByte) {
    for (const std::uint8_t mark : {std::uint8_t{0}, std::uint8_t{2}, std::uint8_t{0x10}}) {
        Len(3);
        EXPECT_EQ(Put(4, {0x48, 1, mark}), wire::kHrGenFailure) << "third byte " << int{mark};
        Len(1);
    }
    EXPECT_TRUE(cam.records.back().i2c.empty());
    Len(3);
    EXPECT_EQ(Put(4, {0x48, 1, 1}), 0);
    Len(1);
}

// The unit takes a new length only after the previous sequence closed with
// 1, so a sequence that leaves its length in force breaks the next one.
TEST_F(PluginXuTest, ASequenceThatForgetsItsClosingLengthBreaksTheNext) {
    Len(3);
    ASSERT_EQ(Put(3, {0x80, 1, 0x5A}), 0);
    EXPECT_EQ(Len(2), wire::kHrGenFailure) << "the next sequence opens while 3 is in force";
    EXPECT_EQ(Put(2, {0x84, 1}), wire::kHrGenFailure);
    EXPECT_EQ(Len(1), 0) << "closing is always taken";
    EXPECT_EQ(RegRead(0x84, 1), ByteVector{0x5A});
}

TEST_F(PluginXuTest, SizeQueryAnswersMoreDataWithTheControlsLength) {
    ByteVector none;
    const Answer answer = cam.Ks(wire::kPluginXuSet, 1, kGetTopology, kNode, none);
    EXPECT_EQ(answer.hr, wire::kHrMoreData);
    EXPECT_EQ(answer.bytesReturned, 1u);
    const Answer info = cam.Ks(wire::kPluginXuSet, 0, kGetTopology, kNode, none);
    EXPECT_EQ(info.hr, wire::kHrMoreData);
    EXPECT_EQ(info.bytesReturned, 16u);
}

TEST_F(PluginXuTest, I2cWriteWithDataSplitsAtTheDevicesAddressWidth) {
    ASSERT_EQ(I2cWrite(0x78, {0x35, 0x03}, {0x07}), 0);
    EXPECT_EQ(cam.state.i2cDevices[0x78].registers[0x3503], 0x07);
    EXPECT_TRUE(StatusOk());
    const auto put =
        std::find_if(cam.records.begin(), cam.records.end(), [](const RequestRecord& r) { return !r.i2c.empty(); });
    ASSERT_NE(put, cam.records.end());
    const auto& events = put->i2c;
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].address, (ByteVector{0x35, 0x03}));
    EXPECT_EQ(events[0].data, ByteVector{0x07});
}

TEST_F(PluginXuTest, I2cReadSetsTheAddressThenReadsWithoutOne) {
    cam.state.i2cDevices[0x48].registers[0x0380] = 0x41;
    ASSERT_EQ(I2cWrite(0x48, {0x03, 0x80}, {}, 0x10), 0);
    EXPECT_EQ(cam.state.i2cDevices[0x48].registers[0x0380], 0x41) << "address-only write stores nothing";
    Len(3);
    ASSERT_EQ(Put(4, {0x48, 1, 1}), 0);
    EXPECT_EQ(Get(4, 1), ByteVector{0x41});
    Len(1);
    EXPECT_TRUE(StatusOk());
}

TEST_F(PluginXuTest, FailedTransferSetsBit4OfRegister5UntilAGoodOne) {
    cam.state.bridge.registers[5] = 0x01;
    ASSERT_EQ(I2cWrite(0x62, {0x04}, {0x0F}), 0) << "the unit takes the request; the bus fails";
    EXPECT_FALSE(StatusOk());
    EXPECT_EQ(cam.state.bridge.registers[5], 0x11) << "other status bits stay";
    Len(3);
    Put(4, {0x62, 1, 1});
    EXPECT_EQ(Get(4, 1), ByteVector{0xFF});
    Len(1);
    ASSERT_EQ(I2cWrite(0x78, {0x35, 0x03}, {0x00}), 0);
    EXPECT_TRUE(StatusOk());
}

TEST_F(PluginXuTest, ThirtyTwoByteControls) {
    ByteVector block(32, 0);
    block[0] = 0x78;
    block[1] = 3;
    block[2] = 1;
    block[3] = 0x3C;
    block[4] = 0x01;
    block[5] = 0xB4;
    ASSERT_EQ(Put(19, block), 0);
    EXPECT_EQ(cam.state.i2cDevices[0x78].registers[0x3C01], 0xB4);

    ByteVector kept(32, 0);
    kept[0] = 2;
    kept[1] = 0xAA;
    ASSERT_EQ(Put(17, kept), 0);
    EXPECT_EQ(Get(17, 32), kept);
    EXPECT_EQ(Put(17, ByteVector(31, 0)), wire::kHrGenFailure);
}

TEST_F(PluginXuTest, I2cTransfersReachOnlyTheDevicesOnThePortRegisterSixSelects) {
    cam.config.i2cDevices[0x48].port = 2;
    cam.config.i2cDevices[0xA0] = I2cDeviceSettings{2, 1, false, true, 1};
    cam.state.bridge.registers[6] = 0x01;  // bit 2 clear: port 1

    ASSERT_EQ(I2cWrite(0x48, {0x03, 0x80}, {0x01}), 0);
    EXPECT_FALSE(StatusOk()) << "0x48 is on port 2";
    EXPECT_TRUE(cam.state.i2cDevices[0x48].registers.empty());
    ASSERT_EQ(I2cWrite(0xA0, {0x00, 0x10}, {0x5A}), 0);
    EXPECT_TRUE(StatusOk());

    // Port 2, the way the library selects it: read register 6, set bit 2, write it back.
    const ByteVector value = RegRead(6, 1);
    Len(3);
    ASSERT_EQ(Put(3, {6, 1, static_cast<std::uint8_t>(value[0] | 0x04)}), 0);
    Len(1);
    EXPECT_EQ(cam.state.bridge.registers[6], 0x05);
    ASSERT_EQ(I2cWrite(0x48, {0x03, 0x80}, {0x01}), 0);
    EXPECT_TRUE(StatusOk());
    EXPECT_EQ(cam.state.i2cDevices[0x48].registers[0x0380], 0x01);
    Len(3);
    ASSERT_EQ(Put(4, {0xA0, 1, 1}), 0);
    EXPECT_EQ(Get(4, 1), ByteVector{0xFF}) << "0xA0 is on port 1";
    Len(1);
    EXPECT_FALSE(StatusOk());
    ASSERT_EQ(I2cWrite(0x78, {0x35, 0x03}, {0x07}), 0);
    EXPECT_TRUE(StatusOk()) << "a device the rig puts on no port answers on either";
}

}  // namespace
}  // namespace kv::sim::test
