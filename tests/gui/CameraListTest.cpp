// The camera list: KV_DS_Ctrl's cameras in KV_DS_Ctrl's order, their names,
// and the AXI answer.
#include <gtest/gtest.h>

#include "ctrl/cli/Enumeration.h"
#include "ctrl/common/Text.h"
#include "gui/core/DeviceCameraList.h"
#include "tests/gui/GuiFakes.h"

namespace kv::test {
namespace {

TEST(CameraListTest, ListsTheCamerasOfKvDsCtrlsTableInItsOrder) {
    FakePorts ports;
    auto& devices = ports.captureDevices;
    devices.AddNamedDevice("\\\\?\\usb#vid_0c45&pid_6713#1#{x}", "Integrated Webcam");
    for (int i = 0; i < 12; ++i) {
        const std::string pid = i % 2 ? "0990" : "09B0";
        devices.AddNamedDevice(Camera(pid) + std::to_string(i), "Microscope " + std::to_string(i));
    }
    devices.AddDevice("VID_A168");   // index 0 is not a match, as in KV_DS_Ctrl
    devices.devices.emplace_back();  // no path

    gui::DeviceCameraList list(devices);
    list.Update();
    ctrl::CameraTable table;
    std::unique_ptr<platform::DeviceEnumerator> enumerator;
    devices.CreateSystemDeviceEnumerator(enumerator);
    ctrl::EnumerateCameras(enumerator.get(), table, [](const std::string&) {});

    ASSERT_EQ(list.Count(), table.nCamCount());
    for (int row = 0; row < list.Count(); ++row) {
        EXPECT_EQ(ctrl::PathTailFromDevicePath(list.DeviceString(row)), table.at(row).strPathTail);
        EXPECT_EQ(list.DisplayName(row), "Microscope " + std::to_string(row));
    }
    EXPECT_EQ(list.DeviceString(0), ctrl::ToLower(Camera("09B0") + "0")) << "lower-cased as KV_DS_Ctrl reads it";
    EXPECT_EQ(list.DisplayName(list.Count()), "");
}

TEST(CameraListTest, ACameraWithoutAFriendlyNameShowsItsPath) {
    FakePorts ports;
    ports.captureDevices.AddDevice(Camera("0870"));
    gui::DeviceCameraList list(ports.captureDevices);
    list.Update();
    EXPECT_EQ(list.DisplayName(0), Camera("0870"));
}

TEST(CameraListTest, OnlyTheAxiModelsHaveAnAxiLed) {
    FakePorts ports;
    for (const char* pid : {"0978", "09b0", "0990", "0870"}) ports.captureDevices.AddDevice(Camera(pid));
    gui::DeviceCameraList list(ports.captureDevices);
    list.Update();
    std::vector<std::int16_t> answers;
    for (int index = 0; index < 4; ++index) {
        list.SetCurrent(index);
        answers.push_back(list.QueryAxi());
    }
    EXPECT_EQ(answers, (std::vector<std::int16_t>{1, 1, 255, 255}));
}

TEST(CameraListTest, AnUnreadableCategoryEmptiesTheListAndAFailedWalkKeepsIt) {
    FakePorts ports;
    ports.captureDevices.AddDevice(Camera("0870"));
    gui::DeviceCameraList list(ports.captureDevices);
    list.Update();
    ports.captureDevices.throwAtDevice = 0;
    list.Update();
    EXPECT_EQ(list.Count(), 1);
    ports.captureDevices.throwAtDevice.reset();
    ports.captureDevices.categoryFails = true;
    list.Update();
    EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace kv::test
