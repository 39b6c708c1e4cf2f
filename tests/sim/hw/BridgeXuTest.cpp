// The bridge-register extension unit and, through it, the bridge's I2C
// engine, driven with the exact blocks and register sequences the camera
// object sends.
#include <gtest/gtest.h>

#include "tests/sim/hw/HwTestSupport.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::sim::test {
namespace {

class BridgeXuTest : public ::testing::Test {
protected:
    BridgeXuTest() {
        cam.config.bridgeXu = {true, 1};
        cam.config.nodeTypes = {wire::kNodeCameraTerminal, wire::kNodeDevSpecific};
        cam.AddDevice(0x5D);
        cam.AddDevice(0x21);
    }

    HResult AsicWrite(std::uint16_t address, std::uint8_t value) {
        ByteVector block{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), value, 0x00};
        return cam.Ks(wire::kBridgeXuSet, 1, kSetTopology, 1, block).hr;
    }

    bool AsicRead(std::uint16_t address, std::uint8_t& value) {
        ByteVector step1{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), 0x00, 0xFF};
        if (cam.Ks(wire::kBridgeXuSet, 1, kSetTopology, 1, step1).hr != 0) return false;
        ByteVector reply(4, 0);
        if (cam.Ks(wire::kBridgeXuSet, 1, kGetTopology, 1, reply).hr != 0) return false;
        value = reply[2];
        return true;
    }

    // The engine's status polling: at most 10 reads, no delay.
    bool Poll() {
        std::uint8_t status = 0;
        for (int reads = 0; (status & 0x04) == 0 && reads < 10; ++reads) AsicRead(0x10D0, status);
        return (status & 0x0C) == 0x04;
    }

    bool SensorWrite(std::uint8_t slave, std::uint8_t reg, std::uint16_t value, int width) {
        AsicWrite(0x10D9, 1);
        AsicWrite(0x10D8, 1);
        AsicWrite(0x10D0, static_cast<std::uint8_t>(0x80 | ((width + 1) << 4)));
        AsicWrite(0x10D1, slave);
        AsicWrite(0x10D2, reg);
        AsicWrite(0x10D3, static_cast<std::uint8_t>(width == 2 ? value >> 8 : value));
        AsicWrite(0x10D4, static_cast<std::uint8_t>(width == 2 ? value : 0));
        AsicWrite(0x10D5, 0);
        AsicWrite(0x10D6, 0);
        AsicWrite(0x10D7, 0x10);
        return Poll();
    }

    bool SensorRead(std::uint8_t slave, std::uint8_t reg, int width, std::uint16_t& out) {
        if (!SensorWrite(slave, reg, 0, 0)) return false;
        AsicWrite(0x10D9, 1);
        AsicWrite(0x10D8, 1);
        AsicWrite(0x10D0, static_cast<std::uint8_t>(0x82 | (width << 4)));
        AsicWrite(0x10D1, slave);
        for (std::uint16_t r = 0x10D2; r <= 0x10D6; ++r) AsicWrite(r, 0);
        AsicWrite(0x10D7, 0x10);
        if (!Poll()) return false;
        std::uint8_t hi = 0;
        std::uint8_t lo = 0;
        AsicRead(0x10D5, hi);
        AsicRead(0x10D6, lo);
        out = width == 2 ? static_cast<std::uint16_t>((hi << 8) | lo) : lo;
        return true;
    }

    TestCamera cam;
};

TEST_F(BridgeXuTest, WriteAndTwoStepReadUseTheFourByteBlock) {
    ASSERT_EQ(AsicWrite(0x1006, 0xA5), 0);
    EXPECT_EQ(cam.state.bridge.registers[0x1006], 0xA5);
    ASSERT_EQ(cam.records.back().path, "bridge-xu");

    ByteVector step1{0x06, 0x10, 0x00, 0xFF};
    ASSERT_EQ(cam.Ks(wire::kBridgeXuSet, 1, kSetTopology, 1, step1).hr, 0);
    EXPECT_EQ(cam.state.bridge.registers[0x1006], 0xA5) << "the read's set step must not write";
    ByteVector reply(4, 0);
    const Answer answer = cam.Ks(wire::kBridgeXuSet, 1, kGetTopology, 1, reply);
    ASSERT_EQ(answer.hr, 0);
    EXPECT_EQ(answer.bytesReturned, 4u);
    EXPECT_EQ(reply[2], 0xA5);
}

TEST_F(BridgeXuTest, RequestsTheUnitDoesNotUnderstandFailLikeADevice) {
    ByteVector odd{0x06, 0x10, 0x01, 0x7F};
    EXPECT_EQ(cam.Ks(wire::kBridgeXuSet, 1, kSetTopology, 1, odd).hr, wire::kHrGenFailure);
    ByteVector shortBlock{0x06, 0x10, 0x01};
    EXPECT_EQ(cam.Ks(wire::kBridgeXuSet, 1, kSetTopology, 1, shortBlock).hr, wire::kHrGenFailure);
    ByteVector block{0x06, 0x10, 0x01, 0x00};
    EXPECT_EQ(cam.Ks(wire::kBridgeXuSet, 2, kSetTopology, 1, block).hr, wire::kHrNotFound);
    EXPECT_EQ(cam.Ks(wire::kBridgeXuSet, 1, kSetTopology, 2, block).hr, wire::kHrSetNotFound) << "wrong node";
    EXPECT_EQ(cam.Ks(wire::kPluginXuSet, 1, kSetTopology, 1, block).hr, wire::kHrSetNotFound)
        << "set this camera lacks";
    ByteVector latchWithValue{0x06, 0x10, 0x01, 0xFF};
    EXPECT_EQ(cam.Ks(wire::kBridgeXuSet, 1, kSetTopology, 1, latchWithValue).hr, wire::kHrGenFailure)
        << "the read latch carries 0x00 where a write carries its value";
    EXPECT_EQ(cam.state.bridge.registers.count(0x1006), 0u);

    for (const std::size_t size : {2u, 5u, 8u}) {
        ByteVector reply(size, 0);
        EXPECT_EQ(cam.Ks(wire::kBridgeXuSet, 1, kGetTopology, 1, reply).hr, wire::kHrGenFailure) << size << "-byte get";
    }

    ByteVector none;
    const Answer size = cam.Ks(wire::kBridgeXuSet, 1, kGetTopology, 1, none);
    EXPECT_EQ(size.hr, wire::kHrMoreData);
    EXPECT_EQ(size.bytesReturned, 4u);
}

// The property is passed with its length: a node request is a KSP_NODE of
// exactly 32 bytes, a request without a node a KSPROPERTY of exactly 24.
TEST_F(BridgeXuTest, PropertySizesMustMatchTheRequestsForm) {
    ByteVector block{0x06, 0x10, 0x01, 0x00};
    const ByteVector node = NodeProperty(wire::kBridgeXuSet, 1, kSetTopology, 1);
    for (const std::size_t size : {24u, 28u, 36u}) {
        ByteVector property(node.begin(), node.begin() + static_cast<long>(std::min<std::size_t>(size, 32)));
        property.resize(size, 0);
        EXPECT_EQ(cam.camera().KsProperty(property, block).hr, platform::kE_INVALIDARG) << size << " bytes";
    }
    EXPECT_EQ(cam.Ks(wire::kBridgeXuSet, 1, wire::kKsSet, 1, block).hr, platform::kE_INVALIDARG)
        << "32 bytes without the topology flag";
    const ByteVector plain(node.begin(), node.begin() + 24);
    ByteVector plainWithoutTopology = plain;
    wire::WriteLe32(plainWithoutTopology, 20, wire::kKsSet);
    EXPECT_EQ(cam.camera().KsProperty(plainWithoutTopology, block).hr, wire::kHrSetNotFound)
        << "a unit answers on its node only";
    EXPECT_EQ(cam.state.bridge.registers.count(0x1006), 0u);
    EXPECT_EQ(cam.camera().KsProperty(node, block).hr, 0);
}

TEST_F(BridgeXuTest, SupportTestAnswersOnlyOnTheUnitsNode) {
    ByteVector none;
    EXPECT_EQ(cam.Ks(wire::kBridgeXuSet, 0, kSupportTopology, 1, none).hr, 0);
    EXPECT_EQ(cam.Ks(wire::kBridgeXuSet, 0, kSupportTopology, 0, none).hr, wire::kHrSetNotFound);
    EXPECT_EQ(cam.Ks(wire::kAveoXuSet, 0, kSupportTopology, 1, none).hr, wire::kHrSetNotFound);
}

TEST_F(BridgeXuTest, LedLinesWrittenTo0x80ReadBackAt0x84) {
    ASSERT_EQ(AsicWrite(0x0080, 0x05), 0);
    std::uint8_t value = 0;
    ASSERT_TRUE(AsicRead(0x0084, value));
    EXPECT_EQ(value, 0x05);
    ASSERT_EQ(AsicWrite(0x0084, 0xFF), 0);
    ASSERT_TRUE(AsicRead(0x0084, value));
    EXPECT_EQ(value, 0x05) << "0x84 is an input register";
}

TEST_F(BridgeXuTest, EngineWritesSixteenBitValuesHighByteFirst) {
    ASSERT_TRUE(SensorWrite(0x5D, 0xF0, 2, 2));
    ASSERT_TRUE(SensorWrite(0x5D, 0x37, 0x8200, 2));
    EXPECT_EQ(cam.state.i2cDevices[0x5D].page, 2);
    EXPECT_EQ(cam.state.i2cDevices[0x5D].registers[(2u << 16) | 0x37], 0x8200);
    EXPECT_EQ(cam.state.bridge.engineControl, 0xB0);
}

TEST_F(BridgeXuTest, EngineReadsLandInD5AndD6) {
    cam.state.i2cDevices[0x5D].registers[0x03] = 0x040C;
    cam.state.i2cDevices[0x21].registers[0x46] = 0x05;
    std::uint16_t value = 0;
    ASSERT_TRUE(SensorRead(0x5D, 0x03, 2, value));
    EXPECT_EQ(value, 0x040C);
    ASSERT_TRUE(SensorRead(0x21, 0x46, 1, value));
    EXPECT_EQ(value, 0x05);
    EXPECT_EQ(cam.state.bridge.engineControl, 0x92);
}

TEST_F(BridgeXuTest, WidthZeroWriteSendsOnlyTheRegisterByte) {
    cam.state.i2cDevices[0x21].registers[0x46] = 0x33;
    ASSERT_TRUE(SensorWrite(0x21, 0x46, 0x99, 0));
    EXPECT_EQ(cam.state.i2cDevices[0x21].registers[0x46], 0x33);
    EXPECT_EQ(cam.state.i2cDevices[0x21].pointer, 0x46u);
    EXPECT_EQ(cam.state.bridge.engineControl, 0x90);
}

TEST_F(BridgeXuTest, EngineReportsAMissingDeviceWithFinishedAndErrorBits) {
    EXPECT_FALSE(SensorWrite(0x20, 0x03, 0x20, 1));
    std::uint8_t status = 0;
    ASSERT_TRUE(AsicRead(0x10D0, status));
    EXPECT_EQ(status, 0x0C);
    ASSERT_FALSE(cam.records.empty());
}

TEST_F(BridgeXuTest, BusyEngineFinishesAfterTheConfiguredStatusReads) {
    cam.config.engineBusyReads = 9;
    EXPECT_TRUE(SensorWrite(0x5D, 0x06, 0x709E, 2)) << "ten reads cover nine busy answers";
    cam.config.engineBusyReads = 10;
    EXPECT_FALSE(SensorWrite(0x5D, 0x06, 0x309E, 2)) << "ten busy answers exhaust the poll";
    EXPECT_EQ(cam.state.i2cDevices[0x5D].registers[0x06], 0x309E) << "the transfer itself still happened";
}

TEST_F(BridgeXuTest, ExtraStatusBitsStillMeanFinished) {
    cam.config.engineStatusBits = 0x10;
    EXPECT_TRUE(SensorWrite(0x5D, 0x06, 0x709E, 2));
    std::uint8_t status = 0;
    ASSERT_TRUE(AsicRead(0x10D0, status));
    EXPECT_EQ(status, 0x14) << "a test for == 0x04 would call this a failure";
    EXPECT_FALSE(SensorWrite(0x20, 0x03, 0x20, 1));
    ASSERT_TRUE(AsicRead(0x10D0, status));
    EXPECT_EQ(status, 0x1C);
}

// The engine runs only when 0x10D9 and 0x10D8 hold 1 at the start, and a
// start clears them: each transfer must set them again, as the camera object
// does.
TEST_F(BridgeXuTest, EngineRunsOnlyWhenD8AndD9WereSetForThisTransfer) {
    ASSERT_TRUE(SensorWrite(0x5D, 0x06, 0x709E, 2));
    EXPECT_EQ(cam.state.bridge.registers[0x10D8], 0);
    EXPECT_EQ(cam.state.bridge.registers[0x10D9], 0);

    // 0 leaves a register unwritten.
    const auto start = [&](std::uint8_t d9, std::uint8_t d8) {
        if (d9 != 0) AsicWrite(0x10D9, d9);
        if (d8 != 0) AsicWrite(0x10D8, d8);
        AsicWrite(0x10D0, 0xB0);
        AsicWrite(0x10D1, 0x5D);
        AsicWrite(0x10D2, 0x06);
        AsicWrite(0x10D3, 0x11);
        AsicWrite(0x10D4, 0x22);
        AsicWrite(0x10D7, 0x10);
        return Poll();
    };
    EXPECT_FALSE(start(1, 0)) << "without 0x10D8";
    EXPECT_FALSE(start(0, 1)) << "without 0x10D9";
    EXPECT_FALSE(start(2, 2)) << "written, but not with 1";
    EXPECT_EQ(cam.state.i2cDevices[0x5D].registers[0x06], 0x709E) << "no transfer ran";
    std::uint8_t status = 0xFF;
    ASSERT_TRUE(AsicRead(0x10D0, status));
    EXPECT_EQ(status, 0x00) << "never finished";
}

TEST_F(BridgeXuTest, ControlWithoutEnableBitFailsAndANewControlClearsStatus) {
    AsicWrite(0x10D9, 1);
    AsicWrite(0x10D8, 1);
    AsicWrite(0x10D0, 0x10);
    AsicWrite(0x10D1, 0x5D);
    AsicWrite(0x10D7, 0x10);
    std::uint8_t status = 0;
    AsicRead(0x10D0, status);
    EXPECT_EQ(status, 0x0C);
    AsicWrite(0x10D0, 0xB0);
    AsicRead(0x10D0, status);
    EXPECT_EQ(status, 0x00) << "a stale status must not pass for the next transfer";
}

}  // namespace
}  // namespace kv::sim::test
