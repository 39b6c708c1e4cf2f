// The register library's sequences on the wire: plug-in (kind 1) and Aveo
// (kind 2) register and I2C transfers, the I2C status check, port
// selection, the EEPROM slave, limits, and the extended commands.
#include <gtest/gtest.h>

#include <algorithm>

#include "ctrl/xulib/XuLibrary.h"
#include "tests/xulib/XuFakes.h"

namespace kv::ctrl::xulib {
namespace {

using Lines = std::vector<std::string>;
using platform::kE_FAIL;
using platform::kS_OK;

class XuSequencesTest : public ::testing::Test {
protected:
    // Camera 0 is a plug-in camera, camera 1 an Aveo camera (node 2).
    void SetUp() override {
        world.AddPluginCamera("\\\\?\\usb#vid_a168&pid_0870#plugin");
        world.AddAveoCamera("\\\\?\\usb#vid_a168&pid_0990#aveo", 2);
        ASSERT_EQ(library.Open(), 1);
        ASSERT_EQ(library.CameraCount(), 2);
        world.log.Clear();
    }
    Lines Log() const { return world.log.Lines(); }

    test::XuWorld world;
    XuLibrary library{world.ports};
};

TEST_F(XuSequencesTest, PluginRegisterReadAnnouncesSizesAndClosesWithLengthOne) {
    world.BridgeOf(0).registers[0x80] = 0x5A;
    std::int32_t value = -1;
    EXPECT_EQ(library.RegRead(0, 0x1080, 1, &value), kS_OK);
    EXPECT_EQ(value, 0x5A) << "all four bytes written, the upper ones 0";
    EXPECT_EQ(Log(), (Lines{"SWITCH 0", "LEN 2", "PUT 2 80 01", "GET 2 1", "LEN 1"}))
        << "only the low address byte goes";
    EXPECT_EQ(library.StatusText(), "vidxu_RegRead  Index:0x00001080  Len:1 -> 0x0000005a OK");
}

TEST_F(XuSequencesTest, PluginRegisterWriteSendsLowAddressLengthAndValueBytes) {
    const std::int32_t value = 0x0302;
    EXPECT_EQ(library.RegWrite(0, 0x84, 2, &value), kS_OK);
    EXPECT_EQ(Log(), (Lines{"SWITCH 0", "LEN 4", "PUT 3 84 02 02 03", "LEN 1"}));
    EXPECT_EQ(world.BridgeOf(0).Read(0x85), 0x03);
}

TEST_F(XuSequencesTest, PluginSequenceClosesWithLengthOneEvenWhenAStepFails) {
    world.cameras[0].plugins[1]->failPut = 3;
    const std::int32_t value = 1;
    EXPECT_EQ(library.RegWrite(0, 0x84, 1, &value), kE_FAIL);
    EXPECT_EQ(Log(), (Lines{"SWITCH 0", "LEN 3", "PUT 3 84 01 01", "LEN 1"}));
    EXPECT_EQ(library.StatusText(), "vidxu_RegWite  Index:0x00000084  Len:1 -> Fail");
}

TEST_F(XuSequencesTest, PluginI2cWriteCarriesFlagOneWithDataThenChecksRegisterFive) {
    std::uint8_t address[2] = {0x30, 0x12};
    const std::uint8_t data[1] = {0x7F};
    EXPECT_EQ(library.I2cWrite(0, 0x78, 2, address, 1, data), kS_OK);
    EXPECT_EQ(Log(), (Lines{"SWITCH 0", "LEN 6", "PUT 5 78 03 01 30 12 7F", "LEN 1", "LEN 2", "PUT 2 05 01", "GET 2 1",
                            "LEN 1"}));
}

TEST_F(XuSequencesTest, PluginI2cTransferFailsWhenTheDeviceDidNotAcknowledge) {
    world.BridgeOf(0).i2cAcknowledged = false;
    std::uint8_t address[1] = {0x03};
    const std::uint8_t data[1] = {1};
    EXPECT_EQ(library.I2cWrite(0, 0x62, 1, address, 1, data), kE_FAIL);
}

TEST_F(XuSequencesTest, PluginI2cReadWritesTheAddressWithTheOptionBitThenReads) {
    world.BridgeOf(0).registers[6] = 0x00;
    library.SelectI2cPort(0, 2, 1);  // port 2: bit 2 set; option on
    EXPECT_EQ(world.BridgeOf(0).Read(6), 0x04);
    world.log.Clear();
    world.BridgeOf(0).i2cReply = {0xAB, 0xCD};
    std::uint8_t address[2] = {0x30, 0x12};
    std::uint8_t data[2] = {};
    EXPECT_EQ(library.I2cRead(0, 0x78, 2, address, 2, data), kS_OK);
    EXPECT_EQ(data[0], 0xAB);
    EXPECT_EQ(data[1], 0xCD);
    const Lines status{"LEN 2", "PUT 2 05 01", "GET 2 1", "LEN 1"};
    Lines want{"SWITCH 0", "LEN 5", "PUT 5 78 02 01 30 12", "LEN 1"};
    want.insert(want.end(), status.begin(), status.end());
    want.insert(want.end(), {"LEN 3", "PUT 4 78 02 01", "GET 4 2", "LEN 1"});
    want.insert(want.end(), status.begin(), status.end());
    EXPECT_EQ(Log(), want) << "the address-only write carries the option bit as its flag";
}

TEST_F(XuSequencesTest, I2cReadWithoutAddressSendsNoAddressPhaseAndNoOptionOnPort1) {
    world.BridgeOf(0).registers[6] = 0xFF;
    library.SelectI2cPort(0, 1, 0);
    EXPECT_EQ(world.BridgeOf(0).Read(6), 0xFB) << "port 1 clears bit 2";
    world.log.Clear();
    std::uint8_t data[1] = {};
    EXPECT_EQ(library.I2cRead(0, 0x46, 0, nullptr, 1, data), kS_OK);
    EXPECT_EQ(Log().at(1), "LEN 3");
    EXPECT_EQ(Log().at(2), "PUT 4 46 01 01");
}

TEST_F(XuSequencesTest, EepromSlaveClearsThePortBitSwapsTheCallersAddressAndDropsTheOption) {
    world.BridgeOf(0).registers[6] = 0x04;
    library.SelectI2cPort(0, 2, 1);
    world.log.Clear();
    std::uint8_t address[2] = {0x01, 0x02};
    EXPECT_EQ(library.I2cWrite(0, 0xA0, 2, address, 0, nullptr), kS_OK);
    EXPECT_EQ(address[0], 0x02) << "swapped in the caller's buffer";
    EXPECT_EQ(address[1], 0x01);
    EXPECT_EQ(world.BridgeOf(0).Read(6), 0x00);
    const Lines log = Log();
    EXPECT_EQ(log.at(1), "LEN 2") << "register 6 is read first";
    EXPECT_NE(std::find(log.begin(), log.end(), "PUT 5 A0 02 00 02 01"), log.end()) << "flag 0: no option bit";
}

TEST_F(XuSequencesTest, OversizeTransfersAreRefusedWithoutTraffic) {
    std::uint8_t address[65] = {};
    std::uint8_t data[64] = {};
    EXPECT_EQ(library.I2cWrite(0, 0x78, 65, address, 0, nullptr), kE_FAIL);
    EXPECT_EQ(library.I2cRead(0, 0x78, 1, address, 65, data), kE_FAIL);
    EXPECT_EQ(library.I2cWrite(0, 0x78, 2, address, 60, data), kE_FAIL) << "62 bytes do not fit the plug-in's block";
    std::int32_t value = 0;
    EXPECT_EQ(library.RegRead(0, 0x80, 5, &value), kE_FAIL);
    EXPECT_EQ(library.RegRead(0, 0x80, 1, nullptr), kE_FAIL);
    for (const std::string& line : Log()) EXPECT_EQ(line.rfind("PUT", 0), std::string::npos) << line;
}

TEST_F(XuSequencesTest, AveoRegisterReadAnswersSixteenBitsWhateverTheLength) {
    world.BridgeOf(1).registers[0x1006] = 0x31;
    world.BridgeOf(1).registers[0x1007] = 0x82;
    std::int32_t value = -1;
    EXPECT_EQ(library.RegRead(1, 0x1006, 1, &value), kS_OK);
    EXPECT_EQ(value, 0x8231);
    EXPECT_EQ(Log(), (Lines{"AVEO SET@2 01 06 10", "AVEO GET@2 01 06 10"}));
    EXPECT_EQ(library.StatusText(), "vidxu_Aveo_RegRead  Index:0x00001006  -> 0x00008231 OK");
}

TEST_F(XuSequencesTest, AveoRegisterWriteSelectsThenWrites) {
    const std::int32_t value = 0x5A;
    EXPECT_EQ(library.RegWrite(1, 0x0380, 1, &value), kS_OK);
    EXPECT_EQ(Log(), (Lines{"AVEO SET@2 01 80 03", "AVEO SET@2 03 5A"}));
    EXPECT_EQ(world.BridgeOf(1).Read(0x0380), 0x5A);
}

TEST_F(XuSequencesTest, AveoI2cBlocksCodeAddressAndSizes) {
    std::uint8_t wide[2] = {0x35, 0x03};
    const std::uint8_t one[1] = {0x07};
    EXPECT_EQ(library.I2cWrite(1, 0x78, 2, wide, 1, one), kS_OK);
    std::uint8_t narrow[1] = {0x04};
    const std::uint8_t two[2] = {0x0A, 0x0B};
    EXPECT_EQ(library.I2cWrite(1, 0x62, 1, narrow, 2, two), kS_OK);
    world.BridgeOf(1).i2cReply = {0x66};
    std::uint8_t read[1] = {};
    EXPECT_EQ(library.I2cRead(1, 0x78, 2, wide, 1, read), kS_OK);
    EXPECT_EQ(read[0], 0x66);
    EXPECT_EQ(Log(), (Lines{"AVEO SET@2 05 07 00 03 35 78 10", "AVEO SET@2 05 0A 00 04 00 62 01",
                            "AVEO SET@2 E0 00 00 03 35 78 10", "AVEO GET@2 E0 00 00 03 35 78 10"}));
}

TEST_F(XuSequencesTest, AveoI2cReadFailureLeavesItsStatusLine) {
    world.cameras[1].control->aveoFails = true;
    std::uint8_t address[2] = {0x35, 0x03};
    std::uint8_t data[1] = {};
    EXPECT_EQ(library.I2cRead(1, 0x78, 2, address, 1, data), kE_FAIL);
    EXPECT_EQ(library.StatusText(), "vidxu_Aveo_I2cRead  Index:0x00003503  -> Fail");
}

TEST_F(XuSequencesTest, AveoExtendedCommandsSendTheirBlocks) {
    std::uint8_t data[32] = {0x11, 0x22, 0x33, 0x44, 0x55};
    EXPECT_EQ(library.AveoExWrite(1, 0, data), kS_OK);
    EXPECT_EQ(library.AveoExWrite(1, 1, data), kS_OK);
    EXPECT_EQ(library.AveoExWrite(1, 0xF0, data), kS_OK);
    EXPECT_EQ(library.StatusText(), "AveoExWrite Cmd:0xf0 Data[0-3]:0x11, 0x22, 0x00, 0x00");
    EXPECT_EQ(library.AveoExWrite(1, 7, data), kS_OK);
    EXPECT_EQ(Log(), (Lines{"AVEO SET@2 00 33 22", "AVEO SET@2 02 55 44", "AVEO SET@2 01 33 22", "AVEO SET@2 03 55 44",
                            "AVEO SET@2 11 22", "AVEO SET@2", "AVEO SET@2 00 55 44"}));
}

TEST_F(XuSequencesTest, PluginExtendedCommandsAndTheOnesItRefuses) {
    std::uint8_t write[32] = {1, 0x84, 0x77};
    EXPECT_EQ(library.AveoExWrite(0, 3, write), kS_OK);
    EXPECT_EQ(world.BridgeOf(0).Read(0x84), 0x77);
    EXPECT_EQ(write[0] + write[1] + write[2], 0) << "the caller's block is cleared";
    EXPECT_EQ(Log().front(), "LEN 3") << "no SwitchHandle for extended commands";

    world.log.Clear();
    world.BridgeOf(0).registers[6] = 0x00;
    std::uint8_t i2c[32] = {0x62, 1, 0x03, 1, 0x0F};  // slave, 1 address byte, 1 data byte
    EXPECT_EQ(library.AveoExWrite(0, 5, i2c), kS_OK);
    EXPECT_EQ(world.BridgeOf(0).Read(6), 0x04) << "port bit set for a slave other than 0xA0";
    const Lines log = Log();
    EXPECT_NE(std::find(log.begin(), log.end(), "PUT 5 62 02 01 03 0F"), log.end());

    world.log.Clear();
    std::uint8_t kept[32] = {9, 2, 0xAA, 0xBB, 1, 0xCC};
    EXPECT_EQ(library.AveoExWrite(0, 17, kept), kS_OK);
    EXPECT_EQ(Log().front().substr(0, 25), "PUT 17 02 AA BB 01 CC 00 ") << "the block after its first byte, 32 bytes";

    world.log.Clear();
    EXPECT_EQ(library.AveoExWrite(0, 19, i2c), kS_OK);
    const Lines block = Log();
    EXPECT_NE(std::find_if(block.begin(), block.end(),
                           [](const std::string& l) { return l.rfind("PUT 19 62 02 01 03 0F 00", 0) == 0; }),
              block.end());

    std::uint8_t other[32] = {};
    EXPECT_EQ(library.AveoExWrite(0, 0xF0, other), kE_FAIL);
}

}  // namespace
}  // namespace kv::ctrl::xulib
