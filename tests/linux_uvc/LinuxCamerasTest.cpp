// The capture nodes the Linux adapters list, against a fake kernel: ours
// only, capture nodes only, in port order, named as the core reads a
// device path; and one line for a camera whose node cannot be opened.
#include <gtest/gtest.h>

#include <cerrno>

#include "ctrl/cli/CameraDispatcher.h"
#include "ctrl/cli/RunContext.h"
#include "ctrl/xulib/CameraProbe.h"
#include "linux_uvc/LinuxCaptureDevices.h"
#include "platform/posix/PosixAdapters.h"
#include "plugin/InProcessPlugin.h"
#include "tests/fakes/FakePorts.h"
#include "tests/linux_uvc/FakeKernel.h"
#include "wire/PropertySets.h"

namespace kv::platform::linux_uvc {
namespace {

constexpr std::uint32_t kCapture = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
constexpr std::uint32_t kMetadata = V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING;

TEST(LinuxCamerasTest, ListsOurCaptureNodesInPortOrder) {
    FakeKernel kernel;
    kernel.AddNode("video0", "1-10", "a168", "0870", kCapture);
    kernel.AddNode("video1", "1-10", "a168", "0870", kMetadata);
    kernel.AddNode("video2", "1-3", "046d", "0825", kCapture);
    kernel.AddNode("video4", "1-2.1", "A168", "09B0", kCapture);
    kernel.AddNode("video6", "1-2", "a168", "0850", kCapture);
    kernel.links["/sys/class/video4linux/v4l-subdev0"] = kernel.links["/sys/class/video4linux/video6"];
    test::FakeConsole console;
    plugin::InProcessPlugin pluginClass;
    LinuxCaptureDevices devices(kernel, console, pluginClass);

    const auto found = Walk(devices);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].devicePath,
              "\\\\?\\usb#vid_a168&pid_0850&mi_00#1-2#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global");
    EXPECT_EQ(found[0].friendlyName, "Camera /dev/video6") << "the driver's card name";
    EXPECT_EQ(found[1].devicePath,
              "\\\\?\\usb#vid_a168&pid_09b0&mi_00#1-2.1#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global");
    EXPECT_EQ(found[2].friendlyName, "Camera /dev/video0") << "1-10 after 1-2.1: ports compare as numbers";
    EXPECT_EQ(std::count(kernel.opened.begin(), kernel.opened.end(), "/dev/video2"), 0)
        << "another vendor's node is never opened";
    EXPECT_EQ(kernel.OpenCount(), 0u) << "enumeration keeps no node open";
    EXPECT_TRUE(console.errorLines.empty());
}

TEST(LinuxCamerasTest, ANodeThatCannotBeOpenedIsToldOnceWithTheFix) {
    FakeKernel kernel;
    kernel.AddNode("video0", "1-2", "a168", "0870", kCapture);
    kernel.AddNode("video1", "1-2", "a168", "0870", kMetadata);
    kernel.AddNode("video2", "1-4", "a168", "0850", kCapture);
    kernel.openErrors = {{"/dev/video0", EACCES}, {"/dev/video1", EACCES}};
    test::FakeConsole console;
    plugin::InProcessPlugin pluginClass;
    LinuxCaptureDevices devices(kernel, console, pluginClass);

    EXPECT_EQ(Walk(devices).size(), 1u);
    EXPECT_EQ(Walk(devices).size(), 1u);
    ASSERT_EQ(console.errorLines.size(), 1u) << "one line per camera and run";
    EXPECT_EQ(console.errorLines[0],
              "Korvex camera at USB port 1-2: /dev/video0 cannot be opened (Permission denied); "
              "docs/linux.md describes the udev rule that gives the video group access to it.");

    const CameraDescriptor gone = Walk(devices).at(0);
    kernel.openErrors["/dev/video2"] = EBUSY;
    std::shared_ptr<Filter> filter;
    EXPECT_TRUE(Failed(gone.Bind(filter)));
    ASSERT_EQ(console.errorLines.size(), 2u);
    EXPECT_EQ(console.errorLines[1].find("docs/linux.md"), std::string::npos) << "no permission fix for a busy node";

    kernel.openErrors.clear();
    kernel.AddNode("video2", "1-5", "046d", "0825", kCapture);
    EXPECT_EQ(gone.Bind(filter), static_cast<HResult>(0x8007048Fu)) << "the number now names another vendor's node";
    EXPECT_EQ(kernel.OpenCount(), 0u);
}

// The register library's own probe over the adapters, as on a Linux host.
TEST(LinuxCamerasTest, TheRegisterLibraryFindsBothUnitKinds) {
    FakeKernel kernel;
    kernel.AddNode("video0", "1-2", "a168", "0850", kCapture, UnitDescriptors({{3, wire::kPluginXuSet}}));
    kernel.AddNode("video2", "1-3", "a168", "09b0", kCapture, UnitDescriptors({{4, wire::kAveoXuSet}}));
    test::FakePorts fakes;
    fakes.environment.windows = false;
    fakes.environment.osVersion.reset();
    plugin::InProcessPlugin pluginClass;
    LinuxCaptureDevices devices(kernel, fakes.console, pluginClass);
    Ports ports{fakes.environment, fakes.files,        fakes.console,  fakes.clock,          fakes.ui,
                fakes.processes,   fakes.comApartment, devices,        fakes.extensionUnits, fakes.mediaGraphs,
                fakes.directUsb,   fakes.modules,      fakes.registry, fakes.sync,           fakes.profileFiles};

    const auto found = ctrl::xulib::FindCameras(ports, std::make_shared<std::atomic<std::uint32_t>>(0));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].link->Kind(), ctrl::xulib::kPluginKind);
    EXPECT_EQ(found[1].link->Kind(), ctrl::xulib::kAveoKind);
    EXPECT_EQ(found[0].link->RegWrite(0x10, 1, {0x55}), kS_OK);
    ASSERT_FALSE(kernel.queries.empty());
    EXPECT_EQ(kernel.queries.back(), (UnitQuery{3, 1, UVC_SET_CUR, 1})) << "the sequence closes with LEN 1";
    found[0].link->Close();  // the plug-in's process-wide list lets go of this kernel's nodes
}

// A whole run over the adapters: a model that needs what Linux cannot have
// is told in one line and left alone, and the run goes on with the next one.
TEST(LinuxCamerasTest, AModelNeedingWhatLinuxLacksIsToldAndTheNextCameraServed) {
    FakeKernel kernel;
    kernel.AddNode("video0", "1-2", "a168", "0610", kCapture, UnitDescriptors({{4, wire::kBridgeXuSet}}));
    kernel.AddNode("video2", "1-3", "a168", "0810", kCapture, UnitDescriptors({{5, wire::kBridgeXuSet}}));
    kernel.AddNode("video4", "1-4", "a168", "0850", kCapture, UnitDescriptors({{6, wire::kBridgeXuSet}}));
    test::FakePorts fakes;
    fakes.environment.windows = false;
    fakes.environment.osVersion.reset();
    fakes.environment.rawCommandLine = "KV_DS_Ctrl AE on";
    plugin::InProcessPlugin pluginClass;
    LinuxCaptureDevices devices(kernel, fakes.console, pluginClass);
    posix::PosixModules modules;
    Ports ports{
        fakes.environment,  fakes.files, fakes.console,        fakes.clock,       fakes.ui,        fakes.processes,
        fakes.comApartment, devices,     fakes.extensionUnits, fakes.mediaGraphs, fakes.directUsb, modules,
        fakes.registry,     fakes.sync,  fakes.profileFiles};
    ctrl::RunContext context(ports);
    ctrl::CameraDispatcher dispatcher(ports, context.counters());

    ctrl::RunKvDsCtrl(ports, context, dispatcher);
    context.FinishLateWorkers();
    EXPECT_EQ(fakes.console.errorLines,
              (std::vector<std::string>{"-CAM1 (model 0610): needs the camera driver's own property set, which only "
                                        "the Windows driver has; nothing was done on this camera.",
                                        "-CAM2 (model 0810): needs SMIUtility.dll, a Windows library that cannot be "
                                        "loaded here; nothing was done on this camera."}));
    EXPECT_TRUE(fakes.ui.messageBoxes.empty()) << "no half-done attempt at the library";
    const auto toUnit = [&](int unit) {
        return std::count_if(kernel.queries.begin(), kernel.queries.end(),
                             [&](const UnitQuery& q) { return q[0] == unit; });
    };
    EXPECT_EQ(toUnit(4) + toUnit(5), 0);
    EXPECT_GT(toUnit(6), 0) << "the 0850 camera's auto exposure goes through its bridge";
}

}  // namespace
}  // namespace kv::platform::linux_uvc
