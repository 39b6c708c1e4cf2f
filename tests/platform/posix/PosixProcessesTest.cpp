// The POSIX processes adapter: a named program started with the words of its
// command line, watched until it ends.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {
namespace {

bool EndsWithin(StartedProcess& process, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!process.HasEnded()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(PosixProcessesTest, StartsTheNamedProgramWithTheWordsAfterItsPath) {
    const auto folder = std::filesystem::temp_directory_path() / "kv-processes-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string made = (folder / "made").string();
    PosixProcesses processes;
    auto process = processes.StartProgramHidden("/bin/mkdir", "/bin/mkdir -p " + made);
    ASSERT_NE(process, nullptr);
    ASSERT_TRUE(EndsWithin(*process, std::chrono::seconds(10)));
    EXPECT_TRUE(process->HasEnded()) << "an ended program stays ended";
    EXPECT_TRUE(std::filesystem::is_directory(made));
    std::filesystem::remove_all(folder);
}

TEST(PosixProcessesTest, AProgramThatCannotStartGivesNothingToWatch) {
    PosixProcesses processes;
    EXPECT_EQ(processes.StartProgramHidden("/nonexistent/KV_DS_Ctrl", "/nonexistent/KV_DS_Ctrl LED on"), nullptr);
}

}  // namespace
}  // namespace kv::platform::posix
