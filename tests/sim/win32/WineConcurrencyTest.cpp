// Several Windows processes updating one rig at once (under Wine) lose no
// update and never mix their trace lines: 8 of the helper processes, 200
// read-modify-write rounds each.
#include <gtest/gtest.h>

#include <vector>

#include "tests/sim/win32/WinTestSupport.h"

namespace kv::sim::win32::test {
namespace {

constexpr int kWorkers = 8;
constexpr int kRounds = 200;
constexpr int kLinesPerRound = 8;  // 2 for the own register, 6 for the shared counter

HANDLE Start(const std::filesystem::path& helper, const std::filesystem::path& rig, int worker) {
    std::wstring commandLine = L"\"" + helper.wstring() + L"\" \"" + rig.wstring() + L"\" " +
                               std::to_wstring(worker) + L" " + std::to_wstring(kRounds);
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
        const HANDLE process = Start(helper, rig, w);
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

}  // namespace
}  // namespace kv::sim::win32::test
