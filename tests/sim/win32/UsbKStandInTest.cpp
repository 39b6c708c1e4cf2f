// The stand-in libusbK.dll: bound by the console program's own USB adapter
// (so that the published layouts and calling conventions are what meets),
// and called directly for its byte-level contracts and bad handles.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/win32/Win32Adapters.h"
#include "tests/sim/win32/WinTestSupport.h"

namespace kv::sim::win32::test {
namespace {

const char* const kUsbRig = R"({"devices":[
  {"productId":"0x0840"},
  {"productId":"0x09B0","interface":0,"instance":"6&aa&0&0000","directUsb":{"driverId":2},
   "i2cDevices":{"0x78":{"registers":{"0x3035":"0x21"}},"0x62":{"registers":{"0x03":6}}}},
  {"productId":"0x09B0","instance":"7&bb&0&0000","directUsb":true,
   "faults":[{"path":"usb","op":"open","effect":"fail","hresult":"0x80070005"}]}
]})";

platform::UsbSetupPacket Packet(std::uint8_t type, std::uint8_t request, std::uint16_t value, std::uint16_t length) {
    return {type, request, value, 0x0300, length};
}

class UsbKTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto dll = BuildProduct(KV_TEST_LIBUSBK);
        SetDllDirectoryW(dll.parent_path().wstring().c_str());
    }
    void TearDown() override { SetDllDirectoryW(nullptr); }

    ScratchFolder scratch;
    std::filesystem::path rig = scratch.Write("rig.json", kUsbRig);
    RigVariable variable{rig};
    platform::win32::Win32DirectUsb usb;
};

TEST_F(UsbKTest, ListsTheRigsUsbDevicesWithTheirInstanceIds) {
    const auto list = usb.ListInit();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 2u);
    const auto* first = list->FindByVidPid(0xA168, 0x09B0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->deviceId, "USB\\VID_A168&PID_09B0&MI_00\\6&AA&0&0000");
    EXPECT_EQ(first->driverId, 2);
    const auto* second = list->MoveNext();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->deviceId, "USB\\VID_A168&PID_09B0\\7&BB&0&0000");
    EXPECT_EQ(list->MoveNext(), nullptr);
    EXPECT_EQ(list->FindByVidPid(0xA168, 0x0840), nullptr);  // not driven by the USB library
}

TEST_F(UsbKTest, ControlTransfersWriteAndReadTheSensor) {
    const auto list = usb.ListInit();
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->FindByVidPid(0xA168, 0x09B0), nullptr);
    std::uint32_t lastError = 0;
    auto handle = list->OpenCurrent(lastError);
    ASSERT_NE(handle, nullptr) << lastError;

    std::uint8_t write[4] = {0x78, 0x30, 0x35, 0x42};
    std::uint32_t moved = 0;
    EXPECT_TRUE(handle->ControlTransfer(Packet(0x21, 0x01, 0x0300, 4), write, 4, moved));
    std::uint8_t address[3] = {0x78, 0x30, 0x35};
    EXPECT_TRUE(handle->ControlTransfer(Packet(0x21, 0x01, 0x0301, 3), address, 3, moved));
    std::uint8_t value = 0xFF;
    EXPECT_TRUE(handle->ControlTransfer(Packet(0xA1, 0x81, 0x0301, 1), &value, 1, moved));
    EXPECT_EQ(value, 0x42);
    EXPECT_EQ(moved, 1u);

    // A request the device does not know stalls and delivers nothing.
    value = 0xFF;
    EXPECT_FALSE(handle->ControlTransfer(Packet(0xA1, 0x81, 0x0399, 1), &value, 1, moved));
    EXPECT_EQ(value, 0xFF);
    platform::UsbPipeInfo pipe;
    EXPECT_FALSE(handle->QueryPipe(0, 0, pipe));

    // The handle is freed with its wrapper: a driver keeps the device claimed
    // until then.
    const Library lib(BuildProduct(KV_TEST_LIBUSBK));
    const auto openHandles = lib.As<UINT(WINAPI*)()>("KvSim_OpenDeviceHandles");
    EXPECT_EQ(openHandles(), 1u);
    handle.reset();
    EXPECT_EQ(openHandles(), 0u);

    const auto state = DumpState(rig);
    EXPECT_EQ(state["devices"][1]["i2cDevices"]["0x78"]["registers"]["0x3035"], 0x42);
}

TEST_F(UsbKTest, AFailedOpenReportsTheDevicesErrorCode) {
    const auto list = usb.ListInit();
    ASSERT_NE(list, nullptr);
    list->FindByVidPid(0xA168, 0x09B0);
    ASSERT_NE(list->MoveNext(), nullptr);
    std::uint32_t lastError = 0;
    EXPECT_EQ(list->OpenCurrent(lastError), nullptr);
    EXPECT_EQ(lastError, static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
}

// The raw exports, for what the adapter does not show.
using ListInit = BOOL(WINAPI*)(void**, int);
using ListCount = BOOL(WINAPI*)(void*, UINT*);
using ListFind = BOOL(WINAPI*)(void*, int, int, void**);
using ListFree = BOOL(WINAPI*)(void*);
using LoadApi = BOOL(WINAPI*)(void*, int);
#pragma pack(push, 1)
struct RawSetup {
    std::uint8_t bytes[8];
};
#pragma pack(pop)
using Transfer = BOOL(WINAPI*)(void*, RawSetup, UCHAR*, UINT, UINT*, OVERLAPPED*);

TEST_F(UsbKTest, EntriesAndDriverTableHaveThePublishedLayout) {
    const Library lib(BuildProduct(KV_TEST_LIBUSBK));
    void* list = nullptr;
    ASSERT_TRUE(lib.As<ListInit>("LstK_Init")(&list, 0));
    void* entry = nullptr;
    ASSERT_TRUE(lib.As<ListFind>("LstK_FindByVidPid")(list, 0xA168, 0x09B0, &entry));
    const auto* bytes = static_cast<const std::uint8_t*>(entry);
    int vid = 0;
    int pid = 0;
    int mi = 0;
    int driverId = 0;
    std::memcpy(&vid, bytes + 0, 4);
    std::memcpy(&pid, bytes + 4, 4);
    std::memcpy(&mi, bytes + 8, 4);
    std::memcpy(&driverId, bytes + 268, 4);
    EXPECT_EQ(vid, 0xA168);
    EXPECT_EQ(pid, 0x09B0);
    EXPECT_EQ(mi, 0);
    EXPECT_EQ(driverId, 2);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes + 528), "USB\\VID_A168&PID_09B0&MI_00\\6&AA&0&0000");

    std::uint8_t table[512];
    std::memset(table, 0xCC, sizeof table);
    ASSERT_TRUE(lib.As<LoadApi>("LibK_LoadDriverAPI")(table, 2));
    std::vector<void*> slot((512 - 8) / sizeof(void*));
    std::memcpy(slot.data(), table + 8, 512 - 8);
    EXPECT_NE(slot[0], nullptr);  // Init
    EXPECT_EQ(slot[7], lib.Entry("UsbK_ControlTransfer"));
    EXPECT_NE(slot[21], nullptr);  // QueryPipe
    EXPECT_FALSE(lib.As<LoadApi>("LibK_LoadDriverAPI")(table, 9));
    EXPECT_TRUE(lib.As<ListFree>("LstK_Free")(list));
}

TEST_F(UsbKTest, StaleAndNullHandlesFailInsteadOfCrashing) {
    const Library lib(BuildProduct(KV_TEST_LIBUSBK));
    void* list = nullptr;
    ASSERT_TRUE(lib.As<ListInit>("LstK_Init")(&list, 0));
    ASSERT_TRUE(lib.As<ListFree>("LstK_Free")(list));
    UINT count = 99;
    EXPECT_FALSE(lib.As<ListCount>("LstK_Count")(list, &count));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(lib.As<ListFree>("LstK_Free")(list));

    RawSetup setup{{0xA1, 0x81, 0x01, 0x03, 0x00, 0x03, 0x01, 0x00}};
    UCHAR value = 0xFF;
    UINT moved = 7;
    EXPECT_FALSE(lib.As<Transfer>("UsbK_ControlTransfer")(nullptr, setup, &value, 1, &moved, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(moved, 0u);
    EXPECT_EQ(value, 0xFF);
}

TEST(UsbKRigTest, ARigWithoutUsbDevicesGivesAnEmptyList) {
    ScratchFolder scratch;
    const RigVariable variable(scratch.Write("rig.json", R"({"devices":[{"productId":"0x0840"}]})"));
    const Library lib(BuildProduct(KV_TEST_LIBUSBK));
    void* list = nullptr;
    ASSERT_TRUE(lib.As<ListInit>("LstK_Init")(&list, 0));
    UINT count = 99;
    EXPECT_TRUE(lib.As<ListCount>("LstK_Count")(list, &count));
    EXPECT_EQ(count, 0u);
    lib.As<ListFree>("LstK_Free")(list);
}

}  // namespace
}  // namespace kv::sim::win32::test
