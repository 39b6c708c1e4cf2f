// Injected faults: failing and hanging requests, matched by path, op and id.
#include <gtest/gtest.h>

#include "tests/sim/hw/HwTestSupport.h"

namespace kv::sim::test {
namespace {

class FaultsTest : public ::testing::Test {
protected:
    FaultsTest() {
        cam.config.bridgeXu = {true, 1};
        cam.config.nodeTypes = {kNodeCameraTerminal, kNodeDevSpecific};
    }
    Answer Write(std::uint16_t address, std::uint8_t value) {
        ByteVector block{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), value, 0};
        return cam.Ks(kBridgeXuSet, 1, kSetTopology, 1, block);
    }
    TestCamera cam;
};

TEST_F(FaultsTest, FailingRequestDoesNothingAndAnswersTheCode) {
    cam.config.faults.push_back({"bridge-xu", std::string("set"), std::nullopt, false, 0, std::nullopt});
    const Answer answer = Write(0x1006, 1);
    EXPECT_EQ(answer.hr, kHrGenFailure);
    EXPECT_TRUE(cam.state.bridge.registers.empty());
    EXPECT_EQ(cam.records.back().hr, kHrGenFailure);

    ByteVector reply(4);
    EXPECT_EQ(cam.Ks(kBridgeXuSet, 1, kGetTopology, 1, reply).hr, 0) << "the fault names only sets";
}

TEST_F(FaultsTest, FaultCanNameItsCodeAndAnId) {
    cam.config.faults.push_back({"usb", std::nullopt, 0x0302u, false, 0, static_cast<HResult>(0x80070005u)});
    cam.config.directUsb = true;
    cam.AddDevice(0x62);
    ByteVector flc{0x62, 0x04, 0x0A};
    EXPECT_EQ(cam.camera().UsbControl(UsbSetup{0x21, 1, 0x0302, 0x0300, 3}, flc).hr, static_cast<HResult>(0x80070005u));
    cam.AddDevice(0x78);
    ByteVector sensor{0x78, 0x35, 0x03, 0x01};
    EXPECT_EQ(cam.camera().UsbControl(UsbSetup{0x21, 1, 0x0300, 0x0300, 4}, sensor).hr, 0);
}

TEST_F(FaultsTest, HangIsReportedAndTheRequestStillHappens) {
    cam.config.faults.push_back({"bridge-xu", std::nullopt, std::nullopt, true, 750, std::nullopt});
    const Answer answer = Write(0x1006, 1);
    EXPECT_EQ(answer.hr, 0);
    EXPECT_EQ(answer.hangMs, 750u);
    EXPECT_EQ(cam.state.bridge.registers[0x1006], 1);
    EXPECT_EQ(cam.records.back().hangMs, 750u);
}

TEST_F(FaultsTest, HangThatEndsInFailureDoesNothing) {
    cam.config.faults.push_back({"bridge-xu", std::nullopt, 1u, true, 2000, platform::kE_FAIL});
    const Answer answer = Write(0x1006, 1);
    EXPECT_EQ(answer.hr, platform::kE_FAIL);
    EXPECT_EQ(answer.hangMs, 2000u);
    EXPECT_TRUE(cam.state.bridge.registers.empty());
}

TEST_F(FaultsTest, OutsideLibraryFaultsDefaultToPlainFailure) {
    cam.config.smi = true;
    cam.config.faults.push_back({"smi", std::string("create"), std::nullopt, false, 0, std::nullopt});
    EXPECT_EQ(cam.camera().SmiCreateDevice().hr, platform::kE_FAIL);
    EXPECT_EQ(cam.camera().SmiSetGpio(0, 1).hr, 0);
}

}  // namespace
}  // namespace kv::sim::test
