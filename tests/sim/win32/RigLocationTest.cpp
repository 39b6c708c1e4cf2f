// Finding the rig: KV_SIM_RIG (a Unix path read through drive Z:), else the
// file name the installer recorded; and a stand-in that finds it either way.
#include <gtest/gtest.h>

#include "sim/win32/RigLocation.h"
#include "sim/win32/SimIds.h"
#include "tests/sim/win32/WinTestSupport.h"

namespace kv::sim::win32::test {
namespace {

void ForgetRecordedRig() { RemoveRegistryKey(platform::RegistryRoot::LocalMachine, kSimulatorKey); }

TEST(RigLocationTest, UnixPathsGoThroughDriveZ) {
    EXPECT_EQ(WindowsRigPath(L"/tmp/rigs/a.json"), L"Z:\\tmp\\rigs\\a.json");
    EXPECT_EQ(WindowsRigPath(L"C:\\rigs\\a.json"), L"C:\\rigs\\a.json");
    EXPECT_EQ(WindowsRigPath(L"rigs/a.json"), L"rigs/a.json");
    EXPECT_EQ(WindowsRigPath(L"//server/share/a.json"), L"//server/share/a.json");
    EXPECT_EQ(WindowsRigPath(L""), L"");
    EXPECT_EQ(AbsoluteRigPath(L"/tmp/a.json").wstring(), L"Z:\\tmp\\a.json");
}

TEST(RigLocationTest, EnvironmentFirstThenTheRecordedRigThenAClearError) {
    ForgetRecordedRig();
    std::string error;
    {
        const RigVariable unset(std::nullopt);
        EXPECT_TRUE(FindRigFile(error).empty());
        EXPECT_NE(error.find("kvsim install"), std::string::npos) << error;

        ASSERT_TRUE(RecordRigFile(L"C:\\rigs\\recorded.json", error)) << error;
        EXPECT_EQ(FindRigFile(error).wstring(), L"C:\\rigs\\recorded.json");
    }
    const RigVariable set(std::filesystem::path(L"/work/env.json"));
    EXPECT_EQ(FindRigFile(error).wstring(), L"Z:\\work\\env.json");
    ForgetRecordedRig();
}

TEST(RigLocationTest, AStandInFindsTheRecordedRigWithoutTheEnvironment) {
    ScratchFolder scratch;
    const auto rig = scratch.Write("rig.json", R"({"devices":[{"productId":"0x0810","smi":true}]})");
    const RigVariable unset(std::nullopt);
    std::string error;
    ASSERT_TRUE(RecordRigFile(rig, error)) << error;
    const Library smi(BuildProduct(KV_TEST_SMIUTILITY));
    using GetByIds = int(__cdecl*)(int, int*, int, int);
    int value = -1;
    EXPECT_EQ(smi.As<GetByIds>("SMI_GetGPIOValueByVidPid")(0, &value, 0x810, 0xA168), 0);
    const auto trace = TraceLines(rig);
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0]["op"], "get-gpio");

    ForgetRecordedRig();
    EXPECT_EQ(smi.As<GetByIds>("SMI_GetGPIOValueByVidPid")(0, &value, 0x810, 0xA168),
              1);  // no rig: a failure, not a crash
}

}  // namespace
}  // namespace kv::sim::win32::test
