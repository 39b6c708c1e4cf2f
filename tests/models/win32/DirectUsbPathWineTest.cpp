// The direct USB path on the Windows adapter and the rig's stand-in
// libusbK.dll (32-bit, stdcall, upper-case instance ids as the platform
// lists them), and on a machine where the library cannot be found.
#include <gtest/gtest.h>

#include "ctrl/models/DirectUsbPath.h"
#include "platform/win32/Win32Adapters.h"
#include "tests/fakes/FakePorts.h"
#include "tests/sim/win32/WinTestSupport.h"

namespace kv::test {
namespace {

using sim::win32::test::BuildProduct;

const char* const kRig = R"({"devices":[
  {"productId":"0x09B0","interface":0,"instance":"7&bb&0&0000","directUsb":true,
   "faults":[{"path":"usb","op":"open","effect":"fail","hresult":"0x80070005"}]},
  {"productId":"0x09B0","interface":0,"instance":"6&aa&0&0000","directUsb":{"driverId":2},
   "i2cDevices":{"0x78":{"registers":{"0x3A1E":"0x26"}}}}
]})";

class DirectUsbPathWineTest : public ::testing::Test {
protected:
    void UseStandIn() { SetDllDirectoryW(BuildProduct(KV_TEST_LIBUSBK).parent_path().wstring().c_str()); }
    void TearDown() override { SetDllDirectoryW(nullptr); }

    sim::win32::test::ScratchFolder scratch;
    sim::win32::test::RigVariable variable{scratch.Write("rig.json", kRig)};
    FakePorts fakes;
    platform::win32::Win32DirectUsb usb;
    platform::Ports ports{
        fakes.environment,  fakes.files,          fakes.console,        fakes.clock,       fakes.ui, fakes.processes,
        fakes.comApartment, fakes.captureDevices, fakes.extensionUnits, fakes.mediaGraphs, usb,      fakes.modules,
        fakes.registry,     fakes.sync,           fakes.profileFiles};
    ctrl::DirectUsbPath path{ports};
};

TEST_F(DirectUsbPathWineTest, FindsTheSelectedCameraAndReachesItsSensor) {
    UseStandIn();
    ASSERT_EQ(path.OpenDirectUsbDevice("vid_a168&pid_09b0&mi_00\\6&aa&0&0000"), 1);
    EXPECT_TRUE(fakes.console.lines.empty());
    EXPECT_EQ(path.UsbKReadSensorRegister(0x3A1E), 0x26);
    EXPECT_TRUE(path.UsbKWriteSensorRegister(0x42, 0x3A1E));
    EXPECT_EQ(path.UsbKReadSensorRegister(0x3A1E), 0x42);
}

TEST_F(DirectUsbPathWineTest, AnOpenThatFailsPrintsThePlatformsErrorCode) {
    UseStandIn();
    EXPECT_EQ(path.OpenDirectUsbDevice("vid_a168&pid_09b0&mi_00\\7&bb&0&0000"), 1);
    EXPECT_EQ(fakes.console.lines, (std::vector<std::string>{"Usb.Init failed. ErrorCode: 00000005h"}));
    EXPECT_EQ(path.UsbKReadSensorRegister(0x3A1E), 0xFF);
}

TEST_F(DirectUsbPathWineTest, WithoutTheLibraryTheOpenSaysSoAndFindsNothing) {
    EXPECT_EQ(path.OpenDirectUsbDevice("vid_a168&pid_09b0&mi_00\\6&aa&0&0000"), 0);
    EXPECT_EQ(fakes.console.lines,
              (std::vector<std::string>{
                  "libusbK.dll could not be loaded: the camera cannot be reached by direct USB requests."}));
}

}  // namespace
}  // namespace kv::test
