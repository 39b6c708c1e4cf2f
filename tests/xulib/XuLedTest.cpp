// The LED helpers on the process's register library: the LED register's
// read-modify-write (read 0x84, write 0x80) and the extended command 0xF0.
#include <gtest/gtest.h>

#include "ctrl/camera/XuLed.h"
#include "ctrl/xulib/XuLib.h"
#include "ctrl/xulib/XuLibrary.h"
#include "tests/xulib/XuFakes.h"

namespace kv::ctrl {
namespace {

using Lines = std::vector<std::string>;

// A world of two cameras behind a library of its own, attached to the
// plain functions for the length of one test.
class XuLedTest : public ::testing::Test {
protected:
    XuLedTest() {
        world.AddPluginCamera("\\\\?\\usb#vid_a168&pid_0870#plugin");
        world.AddAveoCamera("\\\\?\\usb#vid_a168&pid_0990#aveo", 2);
    }
    void SetUp() override {
        ASSERT_EQ(xulib_Open(), 1);
        world.log.Clear();
    }
    void TearDown() override { xulib_Close(); }
    test::FakeBridge& Bridge() { return world.BridgeOf(0); }

    test::XuWorld world;
    xulib::XuLibrary library{world.ports};
    XuLibAttachment attachment{library};
};

TEST_F(XuLedTest, BitHelpersChangeTheLedLinesByMode) {
    struct Case {
        int (*helper)(int, int);
        int mode;
        int state;
        int written;
    };
    const Case cases[] = {{XuLed_SetBit0, 0, 0xFF, 0xFE},   {XuLed_SetBit0, 1, 0x00, 0x01},
                          {XuLed_SetBits02, 0, 0xFF, 0xFA}, {XuLed_SetBits02, 1, 0x05, 0x01},
                          {XuLed_SetBits02, 2, 0x05, 0x04}, {XuLed_SetBit2, 0, 0xFF, 0xFA},
                          {XuLed_SetBit2, 1, 0x01, 0x04}};
    for (const Case& c : cases) {
        Bridge().registers[0x84] = static_cast<std::uint8_t>(c.state);
        Bridge().registers[0x80] = 0x99;
        EXPECT_EQ(c.helper(c.mode, 0), platform::kS_OK);
        EXPECT_EQ(Bridge().Read(0x80), c.written) << "mode " << c.mode << " on " << c.state;
    }
}

TEST_F(XuLedTest, AnUnknownModeReadsButWritesNothingAndAFailedReadStops) {
    Bridge().registers[0x80] = 0x99;
    XuLed_SetBit0(2, 0);
    XuLed_SetBit2(2, 0);
    XuLed_SetBits02(3, 0);
    EXPECT_EQ(Bridge().Read(0x80), 0x99);
    world.log.Clear();
    EXPECT_LT(XuLed_SetBit0(1, 5), 0) << "no camera 5: the read's failure comes back";
    EXPECT_TRUE(world.log.Lines().empty());
}

TEST_F(XuLedTest, F2F3SendsTwoExtendedCommandsForModesZeroAndOne) {
    XuLed_F2F3(1, 1);
    XuLed_F2F3(0, 1);
    XuLed_F2F3(2, 1);
    Lines extended;
    for (const auto& line : world.log.Lines()) {
        if (line.rfind("AVEO SET", 0) == 0) extended.push_back(line);
    }
    // Mode 1, then mode 0; mode 2 sends nothing. The block's trailing zeros
    // are not shown.
    EXPECT_EQ(extended, (Lines{"AVEO SET@2 F2 01", "AVEO SET@2 F3", "AVEO SET@2 F2", "AVEO SET@2 F3"}));
}

}  // namespace
}  // namespace kv::ctrl
