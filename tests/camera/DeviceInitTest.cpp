// Binding a camera: matching, the family loaders and the log it writes.
#include <gtest/gtest.h>

#include "tests/camera/CameraFixture.h"

namespace kv::test {
namespace {

using ::testing::ElementsAre;

TEST_F(CameraTest, BindsTheCameraAndLogsEveryStep) {
    fakes.environment.rawCommandLine = "KV_DS_Ctrl.exe LED on /D";
    fakes.captureDevices.devices.clear();
    const std::string path = PathOf(0x840, "7&1a2b3c4d&0&0000");
    auto filter = AddCamera(0x840, "7&1a2b3c4d&0&0000");
    EXPECT_EQ(camera.Device_Init(0xA168, 0x840, KeyOf(0x840, "7&1a2b3c4d&0&0000")), 1);
    EXPECT_EQ(pair.baseFilter, filter);
    EXPECT_EQ(pair.ksControl, filter->ksControl);
    EXPECT_EQ(fakes.comApartment.initializeCalls, 1);
    const std::string query = "pBaseFilter->QueryInterface(IID_IKsControl,(LPVOID*)&pKsControl)";
    EXPECT_THAT(LoggedTexts(),
                ElementsAre("Device_Init->CoInitialize", "Device_Init->CoCreateInstance",
                            "Device_Init->pCreateDevEnum->CreateClassEnumerator", "Device_Init->pEm->Reset()",
                            "Device_Init->pM->BindToStorage(0, 0, IID_IPropertyBag, (void **)&pBag)",
                            "Device_Init->pM->BindToStorage SUCCEEDED", path, "pBag->Read(DevicePath, &var, NULL)",
                            path, "pBag->Read(DevicePath, &var, NULL) SUCCEEDED", query, query + " Ok"));
}

TEST_F(CameraTest, WithoutTheDebugSwitchNothingIsLogged) {
    BindCamera();
    EXPECT_TRUE(fakes.files.files.empty());
}

TEST_F(CameraTest, EnumeratorFailuresEndTheBinding) {
    fakes.environment.rawCommandLine = "x /d";
    fakes.captureDevices.enumeratorFails = true;
    EXPECT_EQ(camera.Device_Init(0xA168, 0x840, KeyOf(0x840, "1")), 0);
    EXPECT_EQ(LoggedTexts().back(), "Device_Init->CoCreateInstance Error");
    EXPECT_THAT(fakes.ui.debugOutput, ElementsAre("No devices found in the device list."));

    fakes.captureDevices.enumeratorFails = false;
    fakes.captureDevices.devices.clear();  // empty category: S_FALSE
    EXPECT_EQ(camera.Device_Init(0xA168, 0x840, KeyOf(0x840, "1")), 0);
    EXPECT_EQ(LoggedTexts().back(), "Device_Init->pCreateDevEnum->CreateClassEnumerator ERROR");
    EXPECT_EQ(fakes.ui.debugOutput.back(), "There are no VideoInputDevice devices available");
}

TEST_F(CameraTest, AMatchAtPositionZeroDoesNotCount) {
    fakes.environment.rawCommandLine = "x /d";
    const std::string key = KeyOf(0x840, "1");
    fakes.captureDevices.AddDevice("vid_a168&pid_0840&mi_00#" + key, std::make_shared<FakeFilter>());
    EXPECT_EQ(camera.Device_Init(0xA168, 0x840, key), 0);
    EXPECT_EQ(pair.baseFilter, nullptr);
    EXPECT_EQ(LoggedTexts().back(), "(hr == S_OK) ERROR");
}

TEST_F(CameraTest, TwoCamerasOfOneModelAreToldApartByTheDeviceKey) {
    auto first = AddCamera(0x840, "7&aaaa&0&0000");
    auto second = AddCamera(0x840, "7&bbbb&0&0000");
    EXPECT_EQ(camera.Device_Init(0xA168, 0x840, KeyOf(0x840, "7&bbbb&0&0000")), 1);
    EXPECT_EQ(pair.baseFilter, second);
    EXPECT_EQ(camera.Device_Init(0xA168, 0x840, KeyOf(0x840, "7&aaaa&0&0000")), 1);
    EXPECT_EQ(pair.baseFilter, first);
}

TEST_F(CameraTest, UnreadableAndUnbindableDevicesAreSkipped) {
    fakes.captureDevices.devices.emplace_back();  // no path
    fakes.captureDevices.AddDevice(PathOf(0x840, "1"), std::make_shared<FakeFilter>());
    fakes.captureDevices.devices.back().storageFails = true;
    fakes.captureDevices.AddDevice(PathOf(0x840, "1"));  // BindToObject fails
    auto bindable = AddCamera(0x840, "1");
    EXPECT_EQ(camera.Device_Init(0xA168, 0x840, KeyOf(0x840, "1")), 1);
    EXPECT_EQ(pair.baseFilter, bindable);
}

TEST_F(CameraTest, AFilterWithoutKsControlFailsTheBinding) {
    fakes.environment.rawCommandLine = "x /d";
    auto filter = AddCamera(0x840, "1");
    filter->ksControl = nullptr;
    EXPECT_EQ(camera.Device_Init(0xA168, 0x840, KeyOf(0x840, "1")), 0);
    EXPECT_EQ(LoggedTexts().back(), "pBaseFilter->QueryInterface(IID_IKsControl,(LPVOID*)&pKsControl) hr != NOERROR");
    EXPECT_EQ(camera.Asic_Write(0x1006, 1), 0);
}

TEST_F(CameraTest, AnEmptyKeyMatchesNothingAndRunsNoLoader) {
    fakes.environment.rawCommandLine = "x /d";
    AddCamera(0x840, "1");
    EXPECT_EQ(camera.Device_Init(0xA168, 0x840, ""), 0);
    EXPECT_EQ(pair.baseFilter, nullptr);
    EXPECT_TRUE(fakes.modules.loaded.empty());
    EXPECT_TRUE(fakes.ui.messageBoxes.empty());
    EXPECT_EQ(LoggedTexts().back(), "(hr == S_OK) ERROR");
}

TEST_F(CameraTest, Family811WithoutTheLibraryShowsTheBoxAndGoesOn) {
    EXPECT_EQ(camera.Device_Init(0xA168, 0x811, KeyOf(0x811, "1")), 1);  // no such device either
    EXPECT_THAT(fakes.modules.loaded, ElementsAre("SMIUtility.dll"));
    EXPECT_THAT(fakes.ui.messageBoxes,
                ElementsAre("SMIUtility.dll does not exist or d3dx9_31.dll is not in the same folder."));
}

TEST_F(CameraTest, AnEarlyReturnDoesNotLeaveThePreviousCamerasControlBound) {
    auto previous = BindCamera(0x840);
    AddCamera(0x811, "9");
    EXPECT_EQ(camera.Device_Init(0xA168, 0x811, KeyOf(0x811, "9")), 1);
    previous->ksControl->requests.clear();
    EXPECT_EQ(camera.Asic_Write(0x1006, 0xFF), 0);
    EXPECT_TRUE(previous->ksControl->requests.empty());
}

TEST_F(CameraTest, RegisterLibraryIsReopenedOnlyInsideItsFamilies) {
    // The register library is not bound to ports here, so every reopen fails
    // and says so: the box counts the reopens.
    for (const int productId : {0x870, 0x8A0, 0x929, 0x960, 0x99F}) {
        fakes.ui.messageBoxes.clear();
        camera.Device_Init(0xA168, productId, KeyOf(productId, "1"));
        EXPECT_THAT(fakes.ui.messageBoxes, ElementsAre("Vorpal.lib Initial Fail!")) << std::hex << productId;
    }
    for (const int productId : {0x86F, 0x92A, 0x9A0, 0x840}) {
        fakes.ui.messageBoxes.clear();
        camera.Device_Init(0xA168, productId, KeyOf(productId, "1"));
        EXPECT_TRUE(fakes.ui.messageBoxes.empty()) << std::hex << productId;
    }
}

}  // namespace
}  // namespace kv::test
