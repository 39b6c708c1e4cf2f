// Enumeration into the camera table: status texts, the table fields for
// ordinary and malformed device paths, and the product-id rule.
#include <gtest/gtest.h>

#include "ctrl/cli/Enumeration.h"
#include "tests/fakes/FakePorts.h"

namespace kv::ctrl {
namespace {

const std::string kCameraPath =
    "\\\\?\\usb#vid_a168&pid_0990&mi_00#6&12ab34cd&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";

class EnumerationTest : public ::testing::Test {
protected:
    std::string Enumerate() {
        std::unique_ptr<platform::DeviceEnumerator> enumerator;
        devices.CreateSystemDeviceEnumerator(enumerator);
        return EnumerateCameras(enumerator.get(), table, [this](const std::string& line) { log.push_back(line); });
    }
    test::FakeCaptureDevices devices;
    CameraTable table;
    std::vector<std::string> log;
};

TEST_F(EnumerationTest, StatusTexts) {
    devices.enumeratorFails = true;
    EXPECT_EQ(Enumerate(), "Error: 1");
    devices.enumeratorFails = false;
    EXPECT_EQ(Enumerate(), "Error: 2");  // empty category
    devices.categoryFails = true;
    devices.AddDevice(kCameraPath);
    EXPECT_EQ(Enumerate(), "Error: 2");
    devices.categoryFails = false;
    devices.devices.assign(1, {});  // a device without a readable path
    EXPECT_EQ(Enumerate(), "Error: 3");
    EXPECT_EQ(table.nCamCount(), 0);
}

TEST_F(EnumerationTest, KeepsKorvexCamerasAndLogsEveryPath) {
    devices.AddDevice("\\\\?\\usb#vid_046d&pid_0825&mi_00#7&1&0&0000#{65e8773d}\\global");
    devices.AddDevice(
        "\\\\?\\USB#VID_A168&PID_0990&MI_00#6&12AB34CD&0&0000#{65E8773D-8F56-11D0-A3B9-00A0C9223196}\\GLOBAL");
    devices.AddDevice("\\\\?\\usb#vid_0c45&pid_6366#5&2&0&2#{65e8773d}\\global");
    const std::string status = Enumerate();
    EXPECT_EQ(status, "\\\\?\\usb#vid_0c45&pid_6366#5&2&0&2#{65e8773d}\\global");
    ASSERT_EQ(table.nCamCount(), 1);
    EXPECT_EQ(table.at(0).strInstance, "vid_a168&pid_0990&mi_00\\6&12ab34cd&0&0000");
    EXPECT_EQ(table.at(0).strPathTail, "0990&mi_00#6&12ab34cd&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global");
    EXPECT_EQ(log.front(), "hr==S_OK");
    EXPECT_EQ(log[2],
              "\\\\?\\USB#VID_A168&PID_0990&MI_00#6&12AB34CD&0&0000#{65E8773D-8F56-11D0-A3B9-00A0C9223196}\\GLOBAL");
    EXPECT_EQ(log[log.size() - 2], "pEm->Reset");
    EXPECT_EQ(log.back(), "pEm->Release()");
}

TEST_F(EnumerationTest, UnreadableOrUnboundDevicesDoNotMatch) {
    devices.devices.emplace_back();
    devices.AddDevice(kCameraPath).storageFails = true;
    devices.AddDevice(kCameraPath);
    Enumerate();
    EXPECT_EQ(table.nCamCount(), 1);
}

TEST_F(EnumerationTest, VendorTextAtStartDoesNotCount) {
    devices.AddDevice("vid_a168&pid_0990#x");
    Enumerate();
    EXPECT_EQ(table.nCamCount(), 0);
}

TEST_F(EnumerationTest, DevicesBeyondTheTenthAreIgnored) {
    for (int i = 0; i < 12; ++i) devices.AddDevice(kCameraPath);
    Enumerate();
    EXPECT_EQ(table.nCamCount(), CameraTable::kCapacity);
}

TEST_F(EnumerationTest, AnExceptionKeepsTheCamerasFoundSoFar) {
    devices.AddDevice(kCameraPath);
    devices.AddDevice(kCameraPath);
    devices.throwAtDevice = 1;
    EXPECT_EQ(Enumerate(), "Error:...");
    EXPECT_EQ(table.nCamCount(), 1);
}

TEST(CameraTableFields, ShortAndMalformedPathsGiveShortOrEmptyFields) {
    EXPECT_EQ(InstanceFromDevicePath("x_vid_a168"), "68");
    EXPECT_EQ(PathTailFromDevicePath("x_vid_a168"), "");
    EXPECT_EQ(InstanceFromDevicePath("\\\\?\\usb#vid_a168&pid_09"), "vid_a168&pid_09");
    EXPECT_EQ(PathTailFromDevicePath("\\\\?\\usb#vid_a168&pid_09"), "09");
    EXPECT_EQ(InstanceFromDevicePath("ab#{"), "");
    EXPECT_EQ(InstanceFromDevicePath("\\\\?\\usb#{vid_a168"), "");  // "#{" before the ninth character
    EXPECT_EQ(InstanceFromDevicePath(""), "");
}

TEST(CameraTableFields, EntriesBeyondTheCountAreEmpty) {
    CameraTable table;
    table.Add(kCameraPath);
    EXPECT_EQ(table.at(1).strInstance, "");
    EXPECT_EQ(table.at(-1).strPathTail, "");
    EXPECT_EQ(table.at(CameraTable::kCapacity).strPathTail, "");
}

TEST(ProductIdRule, FourCharactersAfterPidReadAsHex) {
    EXPECT_EQ(PidText("vid_a168&pid_0990&mi_00\\6&1"), "0990");
    EXPECT_EQ(ProductIdFromPidText("0990"), 0x990);
    EXPECT_EQ(ProductIdFromPidText("09b0"), 0x9B0);
    EXPECT_EQ(PidText("vid_a168&pid_09"), "09");
    EXPECT_EQ(PidText("vid_a168"), "");
    EXPECT_EQ(PidText("pid_0990"), "");  // searched from the second character on
    EXPECT_EQ(ProductIdFromPidText(""), 0);
    EXPECT_EQ(ProductIdFromPidText("zz12"), 0);
}

}  // namespace
}  // namespace kv::ctrl
