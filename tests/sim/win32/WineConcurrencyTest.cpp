// Several Windows processes on one rig (under Wine): 8 helper processes of
// 200 read-modify-write rounds each lose no update and never mix their trace
// lines; a process that holds a rig across an edit of the rig file keeps what
// newer processes did.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "tests/sim/win32/WinTestSupport.h"

namespace kv::sim::win32::test {
namespace {

constexpr int kWorkers = 8;
constexpr int kRounds = 200;
constexpr int kLinesPerRound = 8;  // 2 for the own register, 6 for the shared counter

HANDLE Start(const std::filesystem::path& helper, std::wstring arguments) {
    std::wstring commandLine = L"\"" + helper.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(helper.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

TEST(WineConcurrencyTest, EightProcessesOfReadModifyWriteLoseNothing) {
    ScratchFolder scratch;
    const auto rig = scratch.Write(
        "rig.json", R"({"devices":[{"productId":"0x0617","asicLib":true,"extensionUnits":{"bridge":{"node":1}}}]})");
    const auto helper = BuildProduct(KV_TEST_RMW_HELPER);
    std::vector<HANDLE> processes;
    for (int w = 0; w < kWorkers; ++w) {
        const HANDLE process =
            Start(helper, L"\"" + rig.wstring() + L"\" " + std::to_wstring(w) + L" " + std::to_wstring(kRounds));
        ASSERT_NE(process, nullptr) << "cannot start " << helper.string() << " (error " << GetLastError() << ")";
        processes.push_back(process);
    }
    for (const HANDLE process : processes) {
        EXPECT_EQ(WaitForSingleObject(process, 120000), WAIT_OBJECT_0);
        DWORD status = 1;
        GetExitCodeProcess(process, &status);
        EXPECT_EQ(status, 0u) << "a worker failed";
        CloseHandle(process);
    }

    const auto registers = DumpState(rig)["devices"][0]["registers"];
    for (int w = 0; w < kWorkers; ++w) {
        char key[16];
        std::snprintf(key, sizeof key, "0x%04X", 0x3000 + w);
        EXPECT_EQ(registers[key], kRounds) << key;
    }
    EXPECT_EQ(registers["0x3100"].get<int>() + 256 * registers["0x3101"].get<int>(), kWorkers * kRounds);

    const auto trace = TraceLines(rig);  // a mixed line would not parse
    ASSERT_EQ(trace.size(), static_cast<std::size_t>(kWorkers * kRounds * kLinesPerRound));
    for (std::size_t i = 0; i < trace.size(); ++i) ASSERT_EQ(trace[i]["seq"].get<std::size_t>(), i);
}

bool WaitFor(const std::filesystem::path& file) {
    for (int i = 0; i < 600 && !std::filesystem::exists(file); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::filesystem::exists(file);
}

TEST(WineConcurrencyTest, AProcessHoldingAnEditedRigKeepsWhatNewerProcessesDid) {
    ScratchFolder scratch;
    const std::string before = R"({"devices":[{"productId":"0x0617","asicLib":true,"registers":{"0x3001":"0x11"}}]})";
    const auto rig = scratch.Write("rig.json", before);
    const RigVariable variable(rig);
    const auto library = BuildProduct(KV_TEST_ASICLIB);
    const HANDLE holder = Start(BuildProduct(KV_TEST_STALE_RIG_HELPER),
                                L"\"" + library.wstring() + L"\" \"" + scratch.path().wstring() + L"\"");
    ASSERT_NE(holder, nullptr) << "cannot start the helper (error " << GetLastError() << ")";
    ASSERT_TRUE(WaitFor(scratch.path() / "ready")) << "the helper never loaded the rig";

    // The rig is edited; a newer process writes under the edited version.
    std::string after = before;
    after.replace(after.find("0x11"), 4, "0x22");
    scratch.Write("rig.json", after);
    {
        const Library newer(library);
        ASSERT_EQ(newer.As<int (*)()>("?InitialLIB@@YAHXZ")(), 1);
        ASSERT_EQ(newer.As<int (*)(long, long)>("?WriteAsic@@YAHJJ@Z")(0x3002, 0x33), 1);
    }

    // The older process's next call reads the edited rig's state.
    scratch.Write("go", "go\n");
    EXPECT_EQ(WaitForSingleObject(holder, 60000), WAIT_OBJECT_0);
    DWORD status = 1;
    GetExitCodeProcess(holder, &status);
    CloseHandle(holder);
    EXPECT_EQ(status, 0u);
    int read = -1;
    std::ifstream(scratch.path() / "result") >> read;
    EXPECT_EQ(read, 0x22) << "the holder did not read the edited rig";

    const auto state = DumpState(rig);
    EXPECT_EQ(BridgeRegister(state, 0, "0x3002"), 0x33) << "the newer process's write was wiped";
    EXPECT_EQ(BridgeRegister(state, 0, "0x3001"), 0x22);
}

}  // namespace
}  // namespace kv::sim::win32::test
