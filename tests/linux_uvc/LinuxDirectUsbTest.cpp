// The direct USB path over the Linux adapter, on a fake libusb: our devices
// only; without the user's consent nothing is opened or sent and one line
// says why; with it, the interface is taken from the video driver and given
// back whatever the requests answered.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "ctrl/models/DirectUsbPath.h"
#include "linux_uvc/LinuxDirectUsb.h"
#include "platform/TextBasics.h"
#include "tests/fakes/FakePorts.h"

namespace kv::platform::linux_uvc {
namespace {

using ::testing::ElementsAre;

// Records each call as text ("claim 0"); `errors` makes a call fail.
class FakeUsbLibrary : public UsbLibrary {
public:
    std::vector<UsbDeviceFacts> devices;
    std::vector<std::string> calls;
    std::map<std::string, int> errors;

    std::unique_ptr<UsbDeviceSet> ListDevices(int&) override { return std::make_unique<Set>(*this); }
    std::string ErrorText(int error) override { return "error " + std::to_string(error); }

private:
    int Call(const std::string& call) {
        calls.push_back(call);
        const auto error = errors.find(call.substr(0, call.find(' ')));
        return error == errors.end() ? 0 : error->second;
    }
    struct Handle : UsbDeviceHandle {
        explicit Handle(FakeUsbLibrary& library) : usb(library) {}
        ~Handle() override { usb.calls.push_back("close"); }
        int DetachKernelDriver(int n) override { return usb.Call("detach " + std::to_string(n)); }
        int ClaimInterface(int n) override { return usb.Call("claim " + std::to_string(n)); }
        int ControlTransfer(const UsbSetupPacket& setup, std::uint8_t* data, unsigned) override {
            const int error =
                usb.Call(FormatText("transfer %02X %04X %04X", setup.requestType, setup.value, setup.index));
            if (setup.requestType & 0x80) data[0] = 0x5A;
            return error ? error : setup.length;
        }
        int ReleaseInterface(int n) override { return usb.Call("release " + std::to_string(n)); }
        int AttachKernelDriver(int n) override { return usb.Call("attach " + std::to_string(n)); }
        std::vector<UsbPipeInfo> Endpoints(int, int) override { return {{3, 0x83, 16, 8}}; }
        FakeUsbLibrary& usb;
    };
    struct Set : UsbDeviceSet {
        explicit Set(FakeUsbLibrary& library) : usb(library) {}
        const std::vector<UsbDeviceFacts>& Devices() const override { return usb.devices; }
        int Open(std::size_t index, std::unique_ptr<UsbDeviceHandle>& handle) override {
            const int error = usb.Call("open " + usb.devices.at(index).portPath);
            if (!error) handle = std::make_unique<Handle>(usb);
            return error;
        }
        FakeUsbLibrary& usb;
    };
};

class LinuxDirectUsbTest : public ::testing::Test {
protected:
    LinuxDirectUsbTest() {
        usb.devices = {{0x046D, 0x09B0, "1-3", "/dev/bus/usb/001/003"},
                       {0xA168, 0x09B0, "", "/dev/bus/usb/001/001"},
                       {0xA168, 0x09B0, "1-2.1", "/dev/bus/usb/001/007"}};
    }
    // The core's direct USB path over the adapter, for the camera at 1-2.1.
    std::unique_ptr<ctrl::DirectUsbPath> Open(bool consent) {
        adapter = std::make_unique<LinuxDirectUsb>(usb, fakes.console, consent);
        ports = std::make_unique<Ports>(Ports{fakes.environment, fakes.files, fakes.console, fakes.clock, fakes.ui,
                                              fakes.processes, fakes.comApartment, fakes.captureDevices,
                                              fakes.extensionUnits, fakes.mediaGraphs, *adapter, fakes.modules,
                                              fakes.registry, fakes.sync, fakes.profileFiles});
        auto path = std::make_unique<ctrl::DirectUsbPath>(*ports);
        EXPECT_EQ(path->OpenDirectUsbDevice("vid_a168&pid_09b0&mi_00\\1-2.1"), 1) << "the instance of its device path";
        return path;
    }

    FakeUsbLibrary usb;
    test::FakePorts fakes;
    std::unique_ptr<LinuxDirectUsb> adapter;
    std::unique_ptr<Ports> ports;
};

TEST_F(LinuxDirectUsbTest, WithoutConsentNothingIsOpenedOrSentAndOneLineSaysWhy) {
    auto path = Open(false);
    EXPECT_EQ(adapter->ListInit()->Count(), 1u) << "no other vendor's device, no root hub";
    EXPECT_FALSE(path->UsbKWriteSensorRegister(0x12, 0x3500));
    EXPECT_EQ(path->UsbKReadSensorRegister(0x3500), 0xFF);
    EXPECT_TRUE(usb.calls.empty());
    EXPECT_TRUE(fakes.console.lines.empty());
    EXPECT_THAT(fakes.console.errorLines,
                ElementsAre("Korvex camera at USB port 1-2.1: nothing was sent by direct USB. Those requests need the "
                            "video driver detached from the camera, which stops its video and removes its /dev/video "
                            "node while they run; set KV_LINUX_DIRECT_USB=1 to allow that (docs/linux.md)."));
    EXPECT_TRUE(DirectUsbConsentGiven("1"));
    EXPECT_FALSE(DirectUsbConsentGiven("0") || DirectUsbConsentGiven("") || DirectUsbConsentGiven(nullptr));
}

TEST_F(LinuxDirectUsbTest, WithConsentTheInterfaceIsTakenForTheCameraAndGivenBackAfter) {
    auto path = Open(true);
    EXPECT_TRUE(path->UsbKWriteSensorRegister(0x12, 0x3500));
    EXPECT_EQ(path->UsbKReadSensorRegister(0x3500), 0x5A);
    path.reset();
    EXPECT_THAT(usb.calls,
                ElementsAre("open 1-2.1", "detach 0", "claim 0", "transfer 21 0300 0300", "transfer 21 0301 0300",
                            "transfer A1 0301 0300", "release 0", "attach 0", "close"));
    EXPECT_TRUE(fakes.console.errorLines.empty());
}

TEST_F(LinuxDirectUsbTest, TheDriverGetsItsInterfaceBackWhateverFailed) {
    usb.errors = {{"transfer", -9}, {"attach", kUsbErrorNoDevice}};
    auto path = Open(true);
    EXPECT_FALSE(path->UsbKWriteSensorRegister(0x12, 0x3500));
    path.reset();
    EXPECT_THAT(usb.calls, ElementsAre("open 1-2.1", "detach 0", "claim 0", "transfer 21 0300 0300", "release 0",
                                       "attach 0", "close"));
    EXPECT_THAT(fakes.console.errorLines,
                ElementsAre("Korvex camera at USB port 1-2.1: the video driver could not be given interface 0 back "
                            "(error -4); unplug the camera and plug it in again to get its video back."));

    usb.calls.clear();
    usb.errors = {{"claim", kUsbErrorBusy}};
    path = Open(true);
    EXPECT_FALSE(path->UsbKWriteSensorRegister(0x12, 0x3500));
    EXPECT_THAT(usb.calls, ElementsAre("open 1-2.1", "detach 0", "claim 0", "attach 0")) << "nothing sent";
    EXPECT_EQ(fakes.console.errorLines.back(),
              "Korvex camera at USB port 1-2.1: interface 0 could not be taken from the video driver (error -6); "
              "nothing was sent.");

    path.reset();
    usb.calls.clear();
    usb.errors = {{"detach", kUsbErrorNotFound}};
    path = Open(true);
    EXPECT_TRUE(path->UsbKWriteSensorRegister(0x12, 0x3500));
    path.reset();
    EXPECT_THAT(usb.calls,
                ElementsAre("open 1-2.1", "detach 0", "claim 0", "transfer 21 0300 0300", "release 0", "close"))
        << "no driver had it: none is given it";
}

TEST_F(LinuxDirectUsbTest, ADeviceNodeWithoutAccessSaysTheFix) {
    usb.errors = {{"open", kUsbErrorAccess}};
    auto path = Open(true);
    EXPECT_EQ(path->LastError(), 5u);
    EXPECT_THAT(fakes.console.lines, ElementsAre("Usb.Init failed. ErrorCode: 00000005h"));
    EXPECT_THAT(fakes.console.errorLines,
                ElementsAre("Korvex camera at USB port 1-2.1: /dev/bus/usb/001/007 cannot be opened (Permission "
                            "denied); docs/linux.md describes the udev rule that gives the video group access to it."));
}

}  // namespace
}  // namespace kv::platform::linux_uvc
