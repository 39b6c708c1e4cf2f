// Several processes updating one rig at once lose no update and never mix
// their trace lines (host only: the processes are started with posix_spawn;
// tests/sim/win32 has the same test under Wine).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/rig/Session.h"
#include "tests/sim/rig/RigTestSupport.h"

#include <spawn.h>
#include <sys/wait.h>
extern char** environ;

namespace kv::sim::test {
namespace {

constexpr int kWorkers = 8;
constexpr int kRounds = 200;
constexpr int kLinesPerRound = 8;  // 2 for the own register, 6 for the shared counter

pid_t Start(const std::string& rig, int worker) {
    std::vector<std::string> args{KV_SIM_RMW_HELPER, rig, std::to_string(worker), std::to_string(kRounds)};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

TEST(ConcurrencyTest, EightProcessesOfReadModifyWriteLoseNothing) {
    ScratchDir dir;
    const auto file = dir.Write(
        "rig.json", R"({"devices":[{"productId":"0x0617","asicLib":true,"extensionUnits":{"bridge":{"node":1}}}]})");
    std::vector<pid_t> pids;
    for (int w = 0; w < kWorkers; ++w) pids.push_back(Start(file.string(), w));
    for (const pid_t pid : pids) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "worker failed, status " << status;
    }

    const auto rig = LoadRig(file);
    Session session(*rig);
    std::string text;
    std::string error;
    ASSERT_TRUE(session.DumpState(text, error)) << error;
    const auto registers = nlohmann::json::parse(text)["devices"][0]["registers"];
    for (int w = 0; w < kWorkers; ++w) {
        char key[16];
        std::snprintf(key, sizeof key, "0x%04X", 0x3000 + w);
        EXPECT_EQ(registers[key], kRounds) << key;
    }
    EXPECT_EQ(registers["0x3100"].get<int>() + 256 * registers["0x3101"].get<int>(), kWorkers * kRounds);

    std::istringstream trace(ReadText(rig->tracePath()));
    std::uint64_t expected = 0;
    for (std::string line; std::getline(trace, line); ++expected) {
        const auto entry = nlohmann::json::parse(line);  // a mixed line would not parse
        ASSERT_EQ(entry["seq"].get<std::uint64_t>(), expected);
    }
    EXPECT_EQ(expected, static_cast<std::uint64_t>(kWorkers * kRounds * kLinesPerRound));
}

}  // namespace
}  // namespace kv::sim::test
