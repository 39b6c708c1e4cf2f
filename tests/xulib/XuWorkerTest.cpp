// Each operation on a worker thread waited for 500 ms, under the library's
// named mutex: time-outs, a late worker that must not touch the caller's
// buffers, mutex time-outs and abandoned mutexes, and two threads whose
// sequences never interleave.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ctrl/xulib/Worker.h"
#include "ctrl/xulib/XuLibrary.h"
#include "tests/xulib/XuFakes.h"

namespace kv::ctrl::xulib {
namespace {

using namespace std::chrono_literals;
using platform::kE_FAIL;
using platform::kS_OK;
using platform::MutexWait;

class XuWorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        world.AddPluginCamera("plugin");
        world.AddAveoCamera("aveo");
        ASSERT_EQ(library->Open(), 1);
    }

    // Waits for every worker to have released the mutex: a late worker still
    // uses the fakes of this test, which go with it.
    bool WorkersDone() { return workers->WaitUntilIdle(10s); }

    test::XuWorld world;
    // Shared with the library, so that a test can wait for the late workers
    // after the library is gone.
    std::shared_ptr<WorkerGroup> workers = std::make_shared<WorkerGroup>();
    std::unique_ptr<XuLibrary> library = std::make_unique<XuLibrary>(world.ports, workers);
};

TEST_F(XuWorkerTest, AHangingTransferFailsAfterAboutHalfASecondAndTheLateWorkerIsHarmless) {
    world.cameras[1].control->aveoDelayMs = 800;
    world.BridgeOf(1).registers[0x20] = 0x99;
    {
        std::int32_t value = 0x1234;  // dies with this scope, before the worker ends
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(library->RegRead(1, 0x20, 1, &value), kE_FAIL);
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, 450ms);
        EXPECT_LT(waited, 790ms) << "the caller does not wait for the hanging transfer";
        EXPECT_EQ(value, 0x1234) << "a failed read leaves the value alone";
    }
    library.reset();  // the library goes too; the worker owns what it uses (the address sanitizer watches)
    EXPECT_TRUE(WorkersDone()) << "the late worker released the mutex";
}

TEST_F(XuWorkerTest, CloseWaitsForALateWorkerBeforeEndingThePlugin) {
    auto& unit = *world.cameras[0].plugins[1];
    unit.putDelayMs = 800;
    std::int32_t value = 1;
    EXPECT_EQ(library->RegWrite(0, 0x30, 1, &value), kE_FAIL) << "the caller's answer stays at half a second";
    unit.putDelayMs = 0;
    library->Close();
    EXPECT_EQ(world.log.Lines().back(), "LEN 1") << "the late worker's sequence ended before the plug-in did";
    EXPECT_EQ(unit.endCalls, 1);
    EXPECT_TRUE(WorkersDone());
}

// The plug-in's own object serves the camera: closing ends it, which
// empties the shared control list while a late worker is inside a request
// on one of its controls; the reopen fills the list again meanwhile.
TEST_F(XuWorkerTest, AReopenWhileATransferHangsPastTheCloseReleasesNothingInUse) {
    world.UsePluginObject(0);
    ASSERT_EQ(library->Open(), 1);
    world.BridgeOf(0).registers[0x30] = 0x5A;
    auto& unit = *world.cameras[0].plugins[1];
    unit.putDelayMs = 3000;
    std::int32_t value = 0;
    EXPECT_EQ(library->RegRead(0, 0x30, 1, &value), kE_FAIL);
    unit.putDelayMs = 0;
    const auto start = std::chrono::steady_clock::now();
    library->Close();
    const auto closing = std::chrono::steady_clock::now() - start;
    EXPECT_GE(closing, 900ms) << "the close waits for the late worker";
    EXPECT_LT(closing, 2000ms) << "but no longer than the library's mutex wait";
    ASSERT_EQ(library->Open(), 1);
    ASSERT_TRUE(WorkersDone()) << "the late worker finished on the control it held (the address sanitizer watches)";
    EXPECT_EQ(library->RegRead(0, 0x30, 1, &value), kS_OK);
    EXPECT_EQ(value, 0x5A);
}

TEST_F(XuWorkerTest, AnI2cReadThatTimesOutLeavesTheTimeOutLine) {
    world.cameras[0].plugins[1]->putDelayMs = 700;
    std::uint8_t data[1] = {0x5A};
    EXPECT_EQ(library->I2cRead(0, 0x48, 0, nullptr, 1, data), kE_FAIL);
    EXPECT_EQ(data[0], 0x5A);
    EXPECT_EQ(library->TimeoutText().rfind("I2CRead Thread TimeOut Thread:", 0), 0u) << library->TimeoutText();
    world.cameras[0].plugins[1]->putDelayMs = 0;  // the late worker's other requests go at once
    EXPECT_TRUE(WorkersDone());
}

TEST_F(XuWorkerTest, AMutexThatIsNotAcquiredFailsTheOperationWithoutTraffic) {
    world.fake.sync.forcedWait = MutexWait::TimedOut;
    world.log.Clear();
    std::int32_t value = 0;
    EXPECT_EQ(library->RegRead(0, 0x10, 1, &value), kE_FAIL);
    EXPECT_TRUE(world.log.Lines().empty());
    world.fake.sync.forcedWait = MutexWait::Failed;
    EXPECT_EQ(library->RegRead(1, 0x10, 1, &value), kE_FAIL);
    EXPECT_EQ(world.fake.sync.releases, 0);
}

TEST_F(XuWorkerTest, AnAbandonedMutexCountsAsAcquiredAndIsReleased) {
    world.fake.sync.forcedWait = MutexWait::Abandoned;
    std::int32_t value = 0;
    EXPECT_EQ(library->RegRead(0, 0x10, 1, &value), kS_OK);
    EXPECT_EQ(world.fake.sync.releases, 1);
    world.fake.sync.forcedWait.reset();
    EXPECT_EQ(library->RegRead(0, 0x10, 1, &value), kS_OK) << "the next operation gets the mutex";
}

TEST_F(XuWorkerTest, TwoThreadsNeverInterleaveTheirSequences) {
    std::atomic<int> succeeded{0};
    auto hammer = [&] {
        for (int i = 0; i < 40; ++i) {
            std::int32_t value = i;
            if (library->RegWrite(0, 0x30, 1, &value) == kS_OK) ++succeeded;
        }
    };
    world.log.Clear();
    std::thread first(hammer);
    std::thread second(hammer);
    first.join();
    second.join();
    // A worker that outlived its wait (a loaded machine) still runs its whole
    // sequence under the mutex: wait for the last one before reading.
    ASSERT_TRUE(WorkersDone());
    EXPECT_GE(succeeded.load(), 60);
    const auto log = world.log.Lines();
    ASSERT_EQ(log.size() % 4, 0u);
    EXPECT_GE(log.size(), 4u * static_cast<std::size_t>(succeeded.load()));
    for (std::size_t i = 0; i < log.size(); i += 4) {
        EXPECT_EQ(log[i], "SWITCH 0");
        EXPECT_EQ(log[i + 1], "LEN 3");
        EXPECT_EQ(log[i + 3], "LEN 1") << "another sequence fell between LEN 3 and LEN 1";
    }
}

TEST(LateWorkersTest, TheWaitEndsWhenTheLastLateWorkerHasEnded) {
    auto release = std::make_shared<std::atomic<bool>>(false);
    auto group = std::make_shared<WorkerGroup>();
    const WorkerOutcome outcome = RunOnWorker(
        [release] {
            while (!*release) std::this_thread::sleep_for(5ms);
            return kS_OK;
        },
        10ms, group);
    EXPECT_FALSE(outcome.finished);
    EXPECT_FALSE(group->WaitUntilIdle(30ms)) << "the late worker is still inside its work";
    // The group's owner may go first: the late worker still leaves the group
    // it shares.
    std::weak_ptr<WorkerGroup> watched = group;
    group.reset();
    EXPECT_FALSE(watched.expired()) << "the late worker holds its group";
    *release = true;
    const auto start = std::chrono::steady_clock::now();
    while (!watched.expired() && std::chrono::steady_clock::now() - start < 10s) std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(watched.expired()) << "the late worker let its group go when it ended";
}

TEST(LateWorkersTest, TheLibraryWaitsForItsOwnLateWorkers) {
    test::XuWorld world;
    world.AddAveoCamera("aveo");
    world.cameras[0].control->aveoDelayMs = 1500;
    XuLibrary library(world.ports);
    ASSERT_EQ(library.Open(), 1);
    std::int32_t value = 0;
    EXPECT_EQ(library.RegRead(0, 0x20, 1, &value), kE_FAIL);
    EXPECT_FALSE(library.WaitForLateWorkers(30ms)) << "the late worker is still inside its transfer";
    EXPECT_TRUE(library.WaitForLateWorkers(10s));
}

}  // namespace
}  // namespace kv::ctrl::xulib
