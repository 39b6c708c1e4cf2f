// Starting KV_DS_Ctrl.exe: the program named explicitly, the command line as
// KV_DS_Ctrl reads it, and the waits.
#include <gtest/gtest.h>

#include "tests/gui/GuiFakes.h"

namespace kv::test {
namespace {

struct RunnerRig {
    FakePorts ports;
    FakeView view;
    gui::CommandRunner runner{ports.processes, ports.clock, view, "C:\\Program Files\\Korvex"};
};

TEST(CommandRunnerTest, NamesTheProgramAndPassesTheUnquotedLine) {
    RunnerRig rig;
    rig.runner.Run("LED on 1 -CAM2", gui::Wait::No);
    ASSERT_EQ(rig.ports.processes.programs.size(), 1u);
    const auto& started = rig.ports.processes.programs[0];
    EXPECT_EQ(started.program, "C:\\Program Files\\Korvex\\KV_DS_Ctrl.exe");
    EXPECT_EQ(started.commandLine, "C:\\Program Files\\Korvex\\KV_DS_Ctrl.exe LED on 1 -CAM2");
    EXPECT_EQ(started.looks, 0);
    EXPECT_TRUE(rig.ports.clock.sleeps.empty());
}

TEST(CommandRunnerTest, AWaitKeepsTheWindowServedUntilTheProgramEndsThenPauses) {
    RunnerRig rig;
    rig.ports.processes.looksUntilEnd = 4;
    rig.runner.Run("ae on -CAM1", gui::Wait::UntilEnded);
    EXPECT_EQ(rig.ports.processes.programs[0].looks, 4);
    EXPECT_EQ(rig.view.messageRounds, 3);
    EXPECT_EQ(rig.ports.clock.sleeps, (std::vector<unsigned>{10, 10, 10, 30}));
}

TEST(CommandRunnerTest, AProgramThatDidNotStartIsNotWaitedFor) {
    RunnerRig rig;
    rig.ports.processes.programStartWorks = false;
    rig.runner.Run("EV 100 -CAM1", gui::Wait::UntilEnded);
    EXPECT_TRUE(rig.ports.clock.sleeps.empty());
    EXPECT_EQ(rig.view.messageRounds, 0);
}

}  // namespace
}  // namespace kv::test
