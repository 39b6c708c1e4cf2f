// The composition point on the host: the platform's ports unless KV_SIM_RIG
// names a rig, whose devices and stand-in libraries then take their place;
// the POSIX adapters themselves never serve simulated devices.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "ctrl/ProgramPorts.h"
#include "platform/CameraWalk.h"
#include "linux_uvc/LinuxCaptureDevices.h"
#include "linux_uvc/LinuxDirectUsb.h"
#include "platform/posix/PosixAdapters.h"

namespace kv::ctrl {
namespace {

namespace fs = std::filesystem;

class ProgramPortsTest : public ::testing::Test {
protected:
    ProgramPortsTest() {
        folder = fs::temp_directory_path() / ("kv-ports-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
        std::ofstream(folder / "rig.json") << R"({"devices":[
            {"friendlyName":"Camera","productId":"0x0810","smi":true}]})";
        std::ofstream(folder / "bad.json") << R"({"devices":[{"productId":"nonsense"}]})";
    }
    ~ProgramPortsTest() override {
        unsetenv("KV_SIM_RIG");
        unsetenv("KV_SIM_PAUSE_TALLY");
        fs::remove_all(folder);
    }

    // How many devices the video-input category lists.
    static int ListedDevices(platform::Ports& ports) {
        std::unique_ptr<platform::DeviceEnumerator> enumerator;
        if (ports.captureDevices.CreateSystemDeviceEnumerator(enumerator) != platform::kS_OK) return -1;
        platform::CameraWalk walk(*enumerator);
        int count = 0;
        for (platform::CameraDescriptor device; walk.Next(device);) ++count;
        return count;
    }

    fs::path folder;
    char program[16] = "KV_DS_Ctrl";
    char* argv[1] = {program};
};

TEST_F(ProgramPortsTest, WithoutARigTheProgramSeesThePlatformOnly) {
    unsetenv("KV_SIM_RIG");
    const auto system = MakeProgramPorts(1, argv);
    EXPECT_EQ(ListedDevices(system->ports()), 0);
    EXPECT_EQ(system->ports().modules.Load("SMIUtility.dll"), nullptr);
    EXPECT_NE(dynamic_cast<platform::linux_uvc::LinuxCaptureDevices*>(&system->ports().captureDevices), nullptr)
        << "real cameras through the Linux video driver";
    EXPECT_NE(dynamic_cast<platform::linux_uvc::LinuxDirectUsb*>(&system->ports().directUsb), nullptr);
    std::shared_ptr<platform::ExtensionUnit> unit;
    EXPECT_EQ(system->ports().extensionUnits.CreateExtensionUnit(unit), platform::kS_OK)
        << "the plug-in core in process is the plug-in class";
    EXPECT_EQ(platform::MakeSystemPorts(1, argv)->ports().extensionUnits.CreateExtensionUnit(unit),
              platform::kClassNotRegistered)
        << "the platform's own port set chooses no plug-in";
}

TEST_F(ProgramPortsTest, ARigReplacesTheDevicesAndTheOutsideLibraries) {
    setenv("KV_SIM_RIG", (folder / "rig.json").c_str(), 1);
    const auto system = MakeProgramPorts(1, argv);
    EXPECT_EQ(ListedDevices(system->ports()), 1);
    const auto smi = system->ports().modules.Load("SMIUtility.dll");
    ASSERT_NE(smi, nullptr);
    EXPECT_NE(smi->Symbol("SMI_SetGPIOValue"), nullptr);
    EXPECT_EQ(system->ports().environment.RawCommandLine(), "KV_DS_Ctrl") << "the platform's own ports stay";
}

TEST_F(ProgramPortsTest, ARigThatCannotBeReadIsReportedAndIgnored) {
    setenv("KV_SIM_RIG", (folder / "bad.json").c_str(), 1);
    testing::internal::CaptureStderr();
    const auto system = MakeProgramPorts(1, argv);
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_NE(reported.find("KV_SIM_RIG: "), std::string::npos) << reported;
    EXPECT_NE(reported.find("bad.json"), std::string::npos) << reported;
    EXPECT_EQ(ListedDevices(system->ports()), 0);
}

TEST_F(ProgramPortsTest, ThePosixAdaptersKnowNoSimulator) {
    setenv("KV_SIM_RIG", (folder / "rig.json").c_str(), 1);
    platform::posix::PosixModules modules;
    EXPECT_EQ(modules.Load("SMIUtility.dll"), nullptr);
    platform::posix::PosixCaptureDevices devices;
    std::unique_ptr<platform::DeviceEnumerator> enumerator;
    ASSERT_EQ(devices.CreateSystemDeviceEnumerator(enumerator), platform::kS_OK);
    std::unique_ptr<platform::MonikerEnumerator> monikers;
    EXPECT_EQ(enumerator->CreateVideoInputEnumerator(monikers), platform::kS_FALSE);
}

TEST_F(ProgramPortsTest, ThePauseTallyAddsUpTheProgramsPausesWhenTheRunEnds) {
    setenv("KV_SIM_RIG", (folder / "rig.json").c_str(), 1);
    const fs::path tally = folder / "pauses.txt";
    setenv("KV_SIM_PAUSE_TALLY", tally.c_str(), 1);
    for (const unsigned pause : {3u, 4u}) {
        const auto system = MakeProgramPorts(1, argv);
        system->ports().clock.Sleep(pause);
        system->ports().clock.Sleep(pause);
    }
    std::ifstream in(tally);
    std::string first, second;
    in >> first >> second;
    EXPECT_EQ(first, "6");
    EXPECT_EQ(second, "8") << "each run appends its own total";
}

}  // namespace
}  // namespace kv::ctrl
