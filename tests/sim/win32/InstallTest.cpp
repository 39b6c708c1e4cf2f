// kvsim install under Wine: the rig's devices as the real system device
// enumerator lists them, re-installs, the enumerator modes, and uninstall.
#include <gtest/gtest.h>

#include "platform/win32/ComValues.h"
#include "sim/win32/SimIds.h"
#include "tests/sim/win32/InstalledRig.h"

namespace kv::sim::win32::test {
namespace {

using platform::RegistryRoot;

const char* const kListingRig = R"({"devices":[
  {"friendlyName":"Cam A","productId":"0x0840","interface":0,"instance":"6&aa&0&0000"},
  {"friendlyName":null,"productId":"0x0870"},
  {"friendlyName":"No path","productId":"0x0990","devicePath":null},
  {"friendlyName":"Bad path","productId":"0x0991","devicePath":"not a device path"},
  {"vendorId":"0x0C45","productId":"0x6713"}
]})";

std::string ManyDevices(int count) {
    std::string rig = R"({"devices":[)";
    for (int i = 0; i < count; ++i) {
        char device[96];
        std::snprintf(device, sizeof device, R"(%s{"friendlyName":"Cam %02d","productId":"0x%04X"})", i ? "," : "", i,
                      0x0900 + i);
        rig += device;
    }
    return rig + "]}";
}

class InstallTest : public ::testing::Test {
protected:
    ComApartment com;
};

TEST_F(InstallTest, ListsEveryDeviceInRigOrderAsTheRigDescribesIt) {
    const InstalledRig installed(kListingRig);
    ASSERT_TRUE(installed.installed) << installed.error;
    std::vector<ListedDevice> devices;
    ASSERT_EQ(ListVideoInputs(devices), S_OK);
    ASSERT_EQ(devices.size(), 5u);
    EXPECT_EQ(devices[0].friendlyName, "Cam A");
    EXPECT_EQ(devices[0].devicePath,
              "\\\\?\\usb#vid_a168&pid_0840&mi_00#6&aa&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global");
    EXPECT_EQ(devices[1].friendlyName, std::nullopt);
    EXPECT_NE(devices[1].devicePath, std::nullopt);
    EXPECT_EQ(devices[2].devicePath, std::nullopt);
    EXPECT_EQ(devices[3].devicePath, "not a device path");
    EXPECT_EQ(devices[4].friendlyName, "USB Video Device");
    EXPECT_NE(devices[4].devicePath->find("vid_0c45&pid_6713"), std::string::npos);
}

// The host's simulated property bags answer a missing value with the code the
// system's bag gives.
TEST_F(InstallTest, AValueTheDeviceLacksIsNotFoundInItsPropertyBag) {
    const InstalledRig installed(kListingRig);
    ASSERT_TRUE(installed.installed) << installed.error;
    std::vector<ListedDevice> devices;
    ASSERT_EQ(ListVideoInputs(devices), S_OK);
    ASSERT_EQ(devices.size(), 5u);
    for (const auto& [index, name] : {std::pair{1, L"FriendlyName"}, std::pair{2, L"DevicePath"}}) {
        ComPtr<IPropertyBag> bag;
        ASSERT_EQ(devices[index].moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)), S_OK);
        platform::win32::Variant var;
        EXPECT_EQ(bag->Read(name, var.get(), nullptr), kHrNoSuchValue) << index;
    }
}

// The enumerator lists instances by name; the order must still be the rig's
// past the tenth device.
TEST_F(InstallTest, KeepsTheRigsOrderPastTenDevices) {
    const InstalledRig installed(ManyDevices(12));
    ASSERT_TRUE(installed.installed) << installed.error;
    std::vector<ListedDevice> devices;
    ASSERT_EQ(ListVideoInputs(devices), S_OK);
    ASSERT_EQ(devices.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Cam %02d", i);
        EXPECT_EQ(devices[static_cast<std::size_t>(i)].friendlyName, name);
    }
}

TEST_F(InstallTest, AnInstallReplacesTheDevicesOfTheOneBefore) {
    InstalledRig installed(ManyDevices(12));
    ASSERT_TRUE(installed.installed) << installed.error;
    ASSERT_TRUE(installed.Reinstall(ManyDevices(3))) << installed.error;
    EXPECT_EQ(installed.report.removed, 12u);
    std::vector<ListedDevice> devices;
    ASSERT_EQ(ListVideoInputs(devices), S_OK);
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[2].friendlyName, "Cam 02");
}

TEST_F(InstallTest, AnEmptyCategoryRigRegistersNothing) {
    InstalledRig installed(R"({"enumerator":"empty","devices":[{"productId":"0x0840"}]})");
    ASSERT_TRUE(installed.installed) << installed.error;
    std::vector<ListedDevice> devices;
    EXPECT_EQ(ListVideoInputs(devices), S_FALSE);
    EXPECT_TRUE(devices.empty());
}

TEST_F(InstallTest, AnEnumeratorThatCannotBeCreatedComesBackWithTheNextInstall) {
    InstalledRig installed(R"({"enumerator":"create-fails","devices":[{"productId":"0x0840"}]})");
    ASSERT_TRUE(installed.installed) << installed.error;
    std::vector<ListedDevice> devices;
    EXPECT_TRUE(FAILED(ListVideoInputs(devices)));

    ASSERT_TRUE(installed.Reinstall(R"({"devices":[{"productId":"0x0840"}]})")) << installed.error;
    EXPECT_EQ(ListVideoInputs(devices), S_OK);
    EXPECT_EQ(devices.size(), 1u);
}

TEST_F(InstallTest, UninstallTakesEverythingAwayAndRestoresTheEnumerator) {
    const InstalledRig installed(R"({"enumerator":"create-fails","devices":[{"productId":"0x0840"}]})");
    ASSERT_TRUE(installed.installed) << installed.error;
    std::size_t removed = 99;
    std::string error;
    ASSERT_TRUE(UninstallRig(removed, error)) << error;
    std::vector<ListedDevice> devices;
    EXPECT_EQ(ListVideoInputs(devices), S_FALSE);
    EXPECT_FALSE(RegistryKeyExists(RegistryRoot::ClassesRoot, std::wstring(L"CLSID\\") + kClsidSimCameraText));
    EXPECT_FALSE(RegistryKeyExists(RegistryRoot::LocalMachine, kSimulatorKey));
}

TEST_F(InstallTest, RegistersTheServerAndRecordsTheRig) {
    const InstalledRig installed(R"({"devices":[{"productId":"0x0840"}]})");
    ASSERT_TRUE(installed.installed) << installed.error;
    const std::wstring server = std::wstring(L"CLSID\\") + kClsidSimCameraText + L"\\InprocServer32";
    EXPECT_EQ(RegistryText(RegistryRoot::ClassesRoot, server, L""), BuildProduct(KV_TEST_KVSIMCAM).wstring());
    EXPECT_EQ(RegistryText(RegistryRoot::ClassesRoot, server, L"ThreadingModel"), L"Both");
    EXPECT_EQ(RegistryText(RegistryRoot::LocalMachine, kSimulatorKey, kRigValue),
              std::filesystem::absolute(installed.rig).wstring());
}

TEST_F(InstallTest, RefusesAMissingServerWithoutTouchingTheDevices) {
    const InstalledRig installed(R"({"devices":[{"productId":"0x0840"}]})");
    ASSERT_TRUE(installed.installed) << installed.error;
    std::string error;
    const auto rig = Rig::Load(installed.rig, error);
    ASSERT_NE(rig, nullptr) << error;
    InstallReport report;
    EXPECT_FALSE(InstallRig(*rig, InstallOptions{L"C:\\nowhere\\kvsimcam.dll"}, report, error));
    EXPECT_NE(error.find("kvsimcam.dll not found"), std::string::npos) << error;
    std::vector<ListedDevice> devices;
    EXPECT_EQ(ListVideoInputs(devices), S_OK);
    EXPECT_EQ(devices.size(), 1u);
}

}  // namespace
}  // namespace kv::sim::win32::test
