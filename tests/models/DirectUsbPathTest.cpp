// The direct USB path on a fake USB library: finding the selected camera,
// the messages of each way opening can end, and the requests on the wire.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "ctrl/models/DirectUsbPath.h"
#include "ctrl/xulib/XuLib.h"
#include "ctrl/xulib/XuLibrary.h"
#include "tests/fakes/FakePorts.h"
#include "tests/xulib/XuFakes.h"

namespace kv::test {
namespace {

using ::testing::ElementsAre;
using Lines = std::vector<std::string>;

// The selected camera as the camera table keeps it, and the id the platform
// lists for it.
const std::string kSelected = "vid_a168&pid_09b0&mi_00\\6&1a2b3cb0&0&0000";
const std::string kListedId = "USB\\VID_A168&PID_09B0&MI_00\\6&1A2B3CB0&0&0000";

class DirectUsbPathTest : public ::testing::Test {
protected:
    std::string Stdout() const {
        std::string text;
        for (const std::string& line : fakes.console.lines) text += line + "\n";
        return text;
    }

    FakePorts fakes;
    ctrl::DirectUsbPath path{fakes.ports};
};

TEST_F(DirectUsbPathTest, FindsTheSelectedCameraWhateverTheCaseOfItsListedId) {
    fakes.directUsb.AddDevice(0x0840, "USB\\VID_A168&PID_0840\\5&1");
    fakes.directUsb.AddDevice(0x09B0, "USB\\VID_A168&PID_09B0&MI_00\\6&0FFFFFFF&0&0000");
    fakes.directUsb.AddDevice(0x09B0, kListedId);
    EXPECT_EQ(path.OpenDirectUsbDevice(kSelected), 1);
    EXPECT_THAT(fakes.directUsb.openedDevices, ElementsAre(2));
    EXPECT_EQ(Stdout(), "");
}

TEST_F(DirectUsbPathTest, ACameraNotInTheListPrintsItsIdsAndTheProgramsName) {
    fakes.environment.modulePath = "D:\\tools/kv\\Renamed.exe";
    fakes.directUsb.AddDevice(0x09B0, "USB\\VID_A168&PID_09B0&MI_00\\7&BB&0&0000");
    EXPECT_EQ(path.OpenDirectUsbDevice(kSelected), 0);
    EXPECT_EQ(Stdout(), "Device vid/pid A168/09B0 not found.\n\nUSAGE: Renamed.exe vid=A168 pid=09B0\n\n");
    EXPECT_TRUE(fakes.directUsb.openedDevices.empty());
}

TEST_F(DirectUsbPathTest, NoCameraOfThatProductIsNotFoundEither) {
    fakes.directUsb.AddDevice(0x0840, "USB\\VID_A168&PID_0840\\5&1");
    EXPECT_EQ(path.OpenDirectUsbDevice(kSelected), 0);
    EXPECT_EQ(fakes.console.lines.at(0), "Device vid/pid A168/09B0 not found.\n");
}

TEST_F(DirectUsbPathTest, AnEmptyListSavesDeviceNotConnected) {
    EXPECT_EQ(path.OpenDirectUsbDevice(kSelected), 0);
    EXPECT_EQ(Stdout(), "Device list empty.\n");
    EXPECT_EQ(path.LastError(), 1167u);
}

TEST_F(DirectUsbPathTest, AListThatCannotBeBuiltOrALibraryThatIsMissingSaySo) {
    fakes.directUsb.listInitFails = true;
    EXPECT_EQ(path.OpenDirectUsbDevice(kSelected), 0);
    fakes.directUsb.libraryLoads = false;
    EXPECT_EQ(path.OpenDirectUsbDevice(kSelected), 0);
    EXPECT_EQ(Stdout(),
              "Error initializing device list.\n"
              "libusbK.dll could not be loaded: the camera cannot be reached by direct USB requests.\n");
}

TEST_F(DirectUsbPathTest, AFailedOpenStillCountsAsFoundAndLeavesRequestsFailing) {
    fakes.directUsb.AddDevice(0x09B0, kListedId);
    fakes.directUsb.devices[0].openError = 0x1F;
    EXPECT_EQ(path.OpenDirectUsbDevice(kSelected), 1);
    EXPECT_EQ(Stdout(), "Usb.Init failed. ErrorCode: 0000001Fh\n");
    EXPECT_EQ(path.LastError(), 0x1Fu);
    EXPECT_FALSE(path.UsbKWriteSensorRegister(1, 0x3A1E));
    EXPECT_EQ(path.UsbKReadSensorRegister(0x3A1E), 0xFF);
    EXPECT_TRUE(fakes.directUsb.transfers.empty());
}

TEST_F(DirectUsbPathTest, ReadsBeforeAnyOpenGiveFF) {
    fakes.directUsb.inReply = 0x26;
    EXPECT_EQ(path.UsbKReadSensorRegister(0x3A1E), 0xFF);
    EXPECT_FALSE(path.WriteFlcRegister(3, 6, 0x9B0, 0));
}

class DirectUsbRequestTest : public DirectUsbPathTest {
protected:
    void SetUp() override {
        fakes.directUsb.AddDevice(0x09B0, kListedId);
        ASSERT_EQ(path.OpenDirectUsbDevice(kSelected), 1);
    }
    const FakeDirectUsb::Transfer& Sent(std::size_t i) const { return fakes.directUsb.transfers.at(i); }
};

void ExpectSetup(const FakeDirectUsb::Transfer& transfer, int type, int request, int value, int length) {
    EXPECT_EQ(transfer.setup.requestType, type);
    EXPECT_EQ(transfer.setup.request, request);
    EXPECT_EQ(transfer.setup.value, value);
    EXPECT_EQ(transfer.setup.index, 0x0300);
    EXPECT_EQ(transfer.setup.length, length);
    EXPECT_EQ(transfer.bufferLength, static_cast<std::uint32_t>(length));
}

TEST_F(DirectUsbRequestTest, SensorWriteSendsSlaveRegisterHighByteFirstAndValue) {
    EXPECT_TRUE(path.UsbKWriteSensorRegister(0x5A, 0x3A1E));
    ASSERT_EQ(fakes.directUsb.transfers.size(), 1u);
    ExpectSetup(Sent(0), 0x21, 0x01, 0x0300, 4);
    EXPECT_THAT(Sent(0).sent, ElementsAre(0x78, 0x3A, 0x1E, 0x5A));
    fakes.directUsb.outTransfersFail = true;
    EXPECT_FALSE(path.UsbKWriteSensorRegister(0x5A, 0x3A1E)) << "the transfer's result";
}

TEST_F(DirectUsbRequestTest, SensorReadSendsTheAddressThenReadsOneByte) {
    fakes.directUsb.inReply = 0x26;
    EXPECT_EQ(path.UsbKReadSensorRegister(0x3A1E), 0x26);
    ASSERT_EQ(fakes.directUsb.transfers.size(), 2u);
    ExpectSetup(Sent(0), 0x21, 0x01, 0x0301, 3);
    EXPECT_THAT(Sent(0).sent, ElementsAre(0x78, 0x3A, 0x1E));
    ExpectSetup(Sent(1), 0xA1, 0x81, 0x0301, 1);
    fakes.directUsb.inReply.reset();
    EXPECT_EQ(path.UsbKReadSensorRegister(0x3A1E), 0xFF) << "a read that delivered nothing";
}

TEST_F(DirectUsbRequestTest, FlcWritesOfTheDirectFamilyGoToDevice62) {
    EXPECT_TRUE(path.WriteFlcRegister(0x03, 0x06, 0x9BF, 5));
    ExpectSetup(Sent(0), 0x21, 0x01, 0x0302, 3);
    EXPECT_THAT(Sent(0).sent, ElementsAre(0x62, 0x03, 0x06));
}

TEST_F(DirectUsbRequestTest, FlcWritesOfOtherProductsGoThroughTheRegisterLibrary) {
    XuWorld world;
    world.AddPluginCamera("\\\\?\\usb#vid_a168&pid_0870#plugin");
    world.AddPluginCamera("\\\\?\\usb#vid_a168&pid_0990#plugin");
    ctrl::xulib::XuLibrary library{world.ports};
    const ctrl::XuLibAttachment attachment{library};
    ASSERT_NE(ctrl::xulib_Open(), 0);
    world.BridgeOf(1).registers[6] = 0x00;
    world.log.Clear();

    EXPECT_TRUE(path.WriteFlcRegister(0x03, 0x06, 0x990, 1));
    EXPECT_EQ(world.BridgeOf(1).Read(6), 0x04) << "I2C port 2 selected first";
    const auto log = world.log.Lines();
    EXPECT_NE(std::find(log.begin(), log.end(), "PUT 5 62 02 01 03 06"), log.end()) << "device 0x62, {reg}, {value}";
    EXPECT_TRUE(fakes.directUsb.transfers.empty());

    world.BridgeOf(1).i2cAcknowledged = false;
    EXPECT_FALSE(path.WriteFlcRegister(0x03, 0x06, 0x990, 1)) << "a failed write is false";
    ctrl::xulib_Close();
}

TEST_F(DirectUsbRequestTest, OpeningAgainReplacesTheHandle) {
    fakes.directUsb.devices[0].openError = 5;
    EXPECT_EQ(path.OpenDirectUsbDevice(kSelected), 1);
    EXPECT_FALSE(path.UsbKWriteSensorRegister(1, 2)) << "the failed open's handle is the one in use";
    EXPECT_TRUE(fakes.directUsb.transfers.empty());
}

}  // namespace
}  // namespace kv::test
