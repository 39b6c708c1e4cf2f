// The stand-in SMIUtility.dll and ClientPropertyPageLIB.dll, loaded as the
// console program loads them: by file, entry points by their exported names.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/sim/win32/InstalledRig.h"
#include "tests/sim/win32/WinTestSupport.h"

namespace kv::sim::win32::test {
namespace {

using SetByIds = int(__cdecl*)(int, int, int, int);
using GetByIds = int(__cdecl*)(int, int*, int, int);
using SetByPosition = int(__cdecl*)(int, int, int, int, int);
using SetCurrent = int(__cdecl*)(int, int);
using GetCurrent = int(__cdecl*)(int, int*);
using NoArguments = int(__cdecl*)();

constexpr int kVid = 0xA168;

const char* const kSmiRig = R"({"devices":[
  {"productId":"0x0810","smi":{"sensor":"0x78","gpio":[1,2,3,4]},
   "i2cDevices":{"0x78":{"registers":{"0x3503":"0x07"}}}},
  {"productId":"0x0811","smi":true,"i2cDevices":{"0x78":{"acknowledge":false}}},
  {"productId":"0x0617","asicLib":true,"registers":{"0x100A":"0x03"}},
  {"productId":"0x0810","smi":{"gpio":[9,8,7,6]},"i2cDevices":{"0x78":{"registers":{"0x3503":"0x01"}}},
   "faults":[{"path":"smi","op":"get-gpio","effect":"hang","ms":400}]}
]})";

int SensorRegister(const nlohmann::json& state, std::size_t device, const char* reg) {
    return state["devices"][device]["i2cDevices"]["0x78"]["registers"][reg].get<int>();
}

class SmiUtilityTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    std::filesystem::path rig = scratch.Write("rig.json", kSmiRig);
    RigVariable variable{rig};
    Library smi{BuildProduct(KV_TEST_SMIUTILITY)};
};

TEST_F(SmiUtilityTest, ExportsEveryEntryPointByItsPlainName) {
    ASSERT_TRUE(smi.Loaded());
    for (const char* name : {"SMI_CreateDeviceObject",
                             "SMI_DestoryDeviceObject",
                             "SMI_CreateVideoRender",
                             "SMI_GetVIDPID",
                             "SMI_SnapshotCurrentResolution",
                             "SMI_SnapshotMaxResolution",
                             "SMI_SnapshotMaxResolutionAutoMode",
                             "SMI_SnapshotUserDefineResolution",
                             "SMI_SnapshotUserDefineResolutionAutoMode",
                             "SMI_StillPinSnapshot",
                             "SMI_DoOV3640AF_Reset",
                             "SMI_DoOV3640AF_ShowFrame",
                             "SMI_DoOV3640AF_HideFrame",
                             "SMI_DoOV3640AF_Once",
                             "SMI_DoOV3640AF_Continue",
                             "SMI_GetEEPROMVersion",
                             "SMI_SetSensorRegister",
                             "SMI_SetSensorRegisterByVidPid",
                             "SMI_SetSensorRegisterByVidPidIdx",
                             "SMI_GetSensorRegister",
                             "SMI_GetSensorRegisterByVidPidIdx",
                             "SMI_GetSensorRegisterByVidPid",
                             "SMI_SetGPIOValue",
                             "SMI_GetGPIOValue",
                             "SMI_SetGPIOValueByVidPid",
                             "SMI_SetGPIOValueByVidPidIdx",
                             "SMI_GetGPIOValueByVidPid",
                             "SMI_GetGPIOValueByVidPidIdx"}) {
        EXPECT_NE(smi.Entry(name), nullptr) << name;
    }
}

TEST_F(SmiUtilityTest, SensorCallsReachTheCameraTheyAddress) {
    EXPECT_EQ(smi.As<NoArguments>("SMI_CreateDeviceObject")(), 1) << "the program has bound no camera";
    EXPECT_EQ(smi.As<SetByIds>("SMI_SetSensorRegisterByVidPid")(0x3503, 0x00, 0x810, kVid), 0);
    int value = -1;
    EXPECT_EQ(smi.As<GetByIds>("SMI_GetSensorRegisterByVidPid")(0x3503, &value, 0x810, kVid), 0);
    EXPECT_EQ(value, 0);
    // Position 3 among the vendor's devices is the second 0x0810.
    EXPECT_EQ(smi.As<SetByPosition>("SMI_SetSensorRegisterByVidPidIdx")(0x3503, 0x05, 0x810, kVid, 3), 0);

    const auto state = DumpState(rig);
    EXPECT_EQ(SensorRegister(state, 0, "0x3503"), 0);
    EXPECT_EQ(SensorRegister(state, 3, "0x3503"), 5);
}

TEST_F(SmiUtilityTest, FailuresLeaveTheCallersValueAlone) {
    int value = 77;
    // No such camera; a camera outside the family; a sensor that does not answer.
    EXPECT_EQ(smi.As<GetByIds>("SMI_GetSensorRegisterByVidPid")(0x3503, &value, 0x999, kVid), 1);
    EXPECT_EQ(smi.As<GetByIds>("SMI_GetSensorRegisterByVidPid")(0x3503, &value, 0x617, kVid), 1);
    EXPECT_EQ(smi.As<GetByIds>("SMI_GetSensorRegisterByVidPid")(0x3503, &value, 0x811, kVid), 1);
    EXPECT_EQ(smi.As<SetByPosition>("SMI_SetSensorRegisterByVidPidIdx")(0x3503, 1, 0x810, kVid, 1), 1);
    EXPECT_EQ(value, 77);
    EXPECT_EQ(smi.As<GetByIds>("SMI_GetSensorRegisterByVidPid")(0x3503, nullptr, 0x810, kVid), 1);
    EXPECT_EQ(smi.As<NoArguments>("SMI_CreateVideoRender")(), 1);
}

TEST_F(SmiUtilityTest, GpioPortsOfTheAddressedCamera) {
    int value = -1;
    EXPECT_EQ(smi.As<GetCurrent>("SMI_GetGPIOValue")(3, &value), 1) << "no device object";
    EXPECT_EQ(value, -1);
    EXPECT_EQ(smi.As<SetByIds>("SMI_SetGPIOValueByVidPid")(0, 6, 0x810, kVid), 0);
    EXPECT_EQ(smi.As<GetByIds>("SMI_GetGPIOValueByVidPid")(0, &value, 0x810, kVid), 0);
    EXPECT_EQ(value, 6);
    EXPECT_EQ(DumpState(rig)["devices"][0]["smiGpio"], nlohmann::json::array({6, 2, 3, 4}));
}

// The device object SMI_CreateDeviceObject makes is the camera whose filter
// the program bound last, and the id-less calls act on it.
TEST(SmiUtilityBoundTest, IdLessCallsReachTheCameraTheProgramOpened) {
    ComApartment com;
    InstalledRig installed(kSmiRig);
    ASSERT_TRUE(installed.installed) << installed.error;
    std::vector<ListedDevice> devices;
    ASSERT_EQ(ListVideoInputs(devices), S_OK);
    ASSERT_EQ(devices.size(), 4u);
    const Library smi(BuildProduct(KV_TEST_SMIUTILITY));

    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(BindFilter(devices[3], filter), S_OK);
    ASSERT_EQ(smi.As<NoArguments>("SMI_CreateDeviceObject")(), 0);
    int value = -1;
    EXPECT_EQ(smi.As<GetCurrent>("SMI_GetGPIOValue")(3, &value), 0);
    EXPECT_EQ(value, 6) << "the second 0x0810, not the first of the family";
    EXPECT_EQ(smi.As<SetCurrent>("SMI_SetGPIOValue")(0, 5), 0);
    EXPECT_EQ(smi.As<SetCurrent>("SMI_SetGPIOValue")(4, 1), 1);  // ports are 0 to 3
    EXPECT_EQ(DumpState(installed.rig)["devices"][3]["smiGpio"], nlohmann::json::array({5, 8, 7, 6}));

    ASSERT_EQ(BindFilter(devices[2], filter), S_OK);
    EXPECT_EQ(smi.As<NoArguments>("SMI_CreateDeviceObject")(), 1) << "0x0617 is not of the family";
    EXPECT_EQ(smi.As<GetCurrent>("SMI_GetGPIOValue")(3, &value), 1);
}

// A hanging request keeps its caller waiting, but not other processes or
// threads: the rig's lock is free while the hang passes.
TEST_F(SmiUtilityTest, AHangDelaysItsCallerOnlyAndOutsideTheLock) {
    using Clock = std::chrono::steady_clock;
    const auto getByPosition = smi.As<int(__cdecl*)(int, int*, int, int, int)>("SMI_GetGPIOValueByVidPidIdx");
    int hung = -1;
    Clock::duration hungFor{};
    std::thread caller([&] {
        const auto start = Clock::now();
        getByPosition(1, &hung, 0x810, kVid, 3);
        hungFor = Clock::now() - start;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto start = Clock::now();
    EXPECT_EQ(smi.As<SetByIds>("SMI_SetSensorRegisterByVidPid")(0x3503, 0x02, 0x810, kVid), 0);
    const auto otherCall = Clock::now() - start;
    caller.join();
    EXPECT_GE(hungFor, std::chrono::milliseconds(400));
    EXPECT_EQ(hung, 8);  // a hang without a failure code answers after the delay
    EXPECT_LT(otherCall, std::chrono::milliseconds(250));
}

using ReadAsic = int(__cdecl*)(long, long*);
using WriteAsic = int(__cdecl*)(long, long);
using Uninitial = void(__cdecl*)();

TEST(ClientPropertyPageLibTest, DecoratedEntryPointsReachTheFamilysBridgeRegisters) {
    ScratchFolder scratch;
    const auto rig = scratch.Write("rig.json", kSmiRig);
    const RigVariable variable(rig);
    const Library lib(BuildProduct(KV_TEST_ASICLIB));
    ASSERT_TRUE(lib.Loaded());
    const auto initial = lib.As<NoArguments>("?InitialLIB@@YAHXZ");
    const auto read = lib.As<ReadAsic>("?ReadAsic@@YAHJPAJ@Z");
    const auto write = lib.As<WriteAsic>("?WriteAsic@@YAHJJ@Z");
    const auto uninitial = lib.As<Uninitial>("?UNInitialLIB@@YAXXZ");
    ASSERT_TRUE(initial && read && write && uninitial);

    long value = -1;
    EXPECT_EQ(read(0x100A, &value), 0) << "before InitialLIB";
    EXPECT_EQ(write(0x1006, 0x11), 0);
    EXPECT_EQ(initial(), 1);
    EXPECT_EQ(read(0x100A, &value), 1);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(write(0x1006, 0x5A), 1);
    EXPECT_EQ(read(0x1006, nullptr), 0);
    uninitial();
    EXPECT_EQ(write(0x1006, 0x22), 0) << "after UNInitialLIB";

    EXPECT_EQ(BridgeRegister(DumpState(rig), 2, "0x1006"), 0x5A);
    const auto trace = TraceLines(rig);
    ASSERT_EQ(trace.size(), 4u);
    EXPECT_EQ(trace[0]["op"], "init");
    EXPECT_EQ(trace[2]["op"], "write");
    EXPECT_EQ(trace[2]["camera"], 2);
    EXPECT_EQ(trace[3]["op"], "uninit");
}

TEST(ClientPropertyPageLibTest, FailsWithoutACameraOfTheFamily) {
    ScratchFolder scratch;
    const RigVariable variable(scratch.Write("rig.json", R"({"devices":[{"productId":"0x0840"}]})"));
    const Library lib(BuildProduct(KV_TEST_ASICLIB));
    long value = -1;
    EXPECT_EQ(lib.As<NoArguments>("?InitialLIB@@YAHXZ")(), 0);
    EXPECT_EQ(lib.As<ReadAsic>("?ReadAsic@@YAHJPAJ@Z")(0x1006, &value), 0);
    EXPECT_EQ(value, -1);
}

}  // namespace
}  // namespace kv::sim::win32::test
