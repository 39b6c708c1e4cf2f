// The process's copy of a rig's state: used only while nothing else wrote
// the state, never hiding another writer's change (another process, another
// thread, an edit by hand), and saved as the state's whole text.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/rig/FileLock.h"
#include "sim/rig/Session.h"
#include "sim/rig/StateCache.h"
#include "tests/sim/rig/RigTestSupport.h"
#include "wire/BridgeRegister.h"

namespace kv::sim::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const kRig = R"({"devices":[
  {"productId":"0x0840","extensionUnits":{"bridge":{"node":1}},"registers":{"0x1006":"0x0F"},"i2cDevices":{"0x5D":{}}},
  {"productId":"0x0990","extensionUnits":{"aveo":{"node":2}},"i2cDevices":{"0x78":{}}}
]})";

Bytes BridgeProperty(std::uint32_t flags) {
    const auto block = wire::BridgeRequest(flags);
    return Bytes(block.begin(), block.end());
}

Answer Write(Camera& camera, std::uint16_t address, std::uint8_t value) {
    Bytes block{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), value, 0};
    return camera.KsProperty(BridgeProperty(0x10000002), block);
}

std::uint8_t Read(Camera& camera, std::uint16_t address) {
    Bytes latch{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), 0, 0xFF};
    camera.KsProperty(BridgeProperty(0x10000002), latch);
    Bytes reply(4, 0);
    camera.KsProperty(BridgeProperty(0x10000001), reply);
    return reply[2];
}

Answer SessionWrite(Session& session, std::uint16_t address, std::uint8_t value) {
    return session.Request(0, [&](Camera& camera) { return Write(camera, address, value); });
}

class StateCacheTest : public ::testing::Test {
protected:
    StateCacheTest() : file(dir.Write("rig.json", kRig)), rig(LoadRig(file)), session(*rig) {}

    // What the process's copy says register 0x1006 of camera 0 holds.
    std::uint8_t HeldRegister() {
        StateCache& cache = rig->stateCache();
        const std::lock_guard<std::mutex> turn(cache.mutex());
        const FileLock::Held lock(cache.lockFile());
        bool fresh = false;
        std::string error;
        RigState* state = cache.Load(*rig, fresh, error);
        EXPECT_NE(state, nullptr) << error;
        return state ? state->cameras[0].bridge.registers[0x1006] : 0;
    }

    // Changes the copy without saving it, so that a test can tell whether
    // the next request used the copy or read the file.
    void ChangeCopyOnly(std::uint8_t value) {
        StateCache& cache = rig->stateCache();
        const std::lock_guard<std::mutex> turn(cache.mutex());
        const FileLock::Held lock(cache.lockFile());
        bool fresh = false;
        std::string error;
        RigState* state = cache.Load(*rig, fresh, error);
        ASSERT_NE(state, nullptr) << error;
        state->cameras[0].bridge.registers[0x1006] = value;
    }

    ScratchDir dir;
    std::filesystem::path file;
    std::unique_ptr<Rig> rig;
    Session session;
};

TEST_F(StateCacheTest, TheCopyIsUsedOnlyWhileNothingElseWroteTheState) {
    ASSERT_EQ(SessionWrite(session, 0x1006, 0x21).hr, 0);
    ChangeCopyOnly(0x99);
    EXPECT_EQ(HeldRegister(), 0x99) << "nothing else wrote: the copy is used, the file is not parsed again";

    {  // another process's save writes a new generation first
        const auto other = LoadRig(file);
        FileLock& lock = other->stateCache().lockFile();
        const FileLock::Held held(lock);
        std::string error;
        ASSERT_TRUE(lock.WriteGeneration(lock.ReadGeneration() + 1, error)) << error;
    }
    EXPECT_EQ(HeldRegister(), 0x21) << "a new generation in the lock file: the file is read again";

#ifndef _WIN32  // POSIX: a removed lock file is made anew; Windows keeps the one held open
    ChangeCopyOnly(0x99);
    std::filesystem::remove(rig->lockPath());
    EXPECT_EQ(HeldRegister(), 0x21) << "a lock file made anew carries no generation: the copy is not trusted";
#endif

    ChangeCopyOnly(0x99);
    const std::string text = ReadText(rig->statePath());
    std::filesystem::remove(rig->statePath());
    dir.Write("rig.state.json", text);  // the same text, written by hand: only the file's stamp differs
    EXPECT_EQ(HeldRegister(), 0x21) << "a state file written by something else is read again";
}

TEST_F(StateCacheTest, EachOfTwoProcessesSeesTheOthersWrites) {
    const auto otherRig = LoadRig(file);
    Session other(*otherRig);
    for (std::uint8_t value = 1; value <= 20; ++value) {
        Session& writer = value % 2 ? session : other;
        Session& reader = value % 2 ? other : session;
        ASSERT_EQ(SessionWrite(writer, 0x1006, value).hr, 0);
        std::uint8_t seen = 0;
        reader.Request(0, [&](Camera& camera) {
            seen = Read(camera, 0x1006);
            return Answer{};
        });
        ASSERT_EQ(seen, value) << "a write of the same length, within the file system clock's resolution";
    }
}

TEST_F(StateCacheTest, ThreadsOfOneProcessLoseNoUpdate) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            Session mine(*rig);
            for (int i = 0; i < kRounds; ++i) {
                mine.Request(0, [](Camera& camera) { return Write(camera, 0x3100, Read(camera, 0x3100) + 1); });
            }
        });
    }
    for (auto& thread : threads) thread.join();
    std::string text;
    std::string error;
    ASSERT_TRUE(session.DumpState(text, error)) << error;
    EXPECT_EQ(nlohmann::json::parse(text)["devices"][0]["registers"]["0x3100"], kThreads * kRounds);
}

TEST_F(StateCacheTest, TheFileHoldsTheStatesWholeTextAfterItGrowsAndShrinks) {
    for (std::uint16_t address = 0x2000; address < 0x2040; ++address) SessionWrite(session, address, 1);
    const std::string before = ReadText(rig->statePath());
    session.Request(0, [](Camera& camera) {
        Bytes reply(4, 0);  // the latched register's value: a get that changes nothing
        return camera.KsProperty(BridgeProperty(0x10000001), reply);
    });
    EXPECT_NE(ReadText(rig->statePath()), before);
    std::string dump;
    std::string error;
    ASSERT_TRUE(session.DumpState(dump, error)) << error;
    EXPECT_EQ(ReadText(rig->statePath()), dump);
    const auto document = nlohmann::ordered_json::parse(dump);
    EXPECT_EQ(dump, document.dump(2) + "\n") << "put together from its parts as the library renders the whole";
    EXPECT_EQ(document["sequence"], 65) << "a request that changes no device still moves the sequence on";

    // A read's set step only latches its address: one part of the device
    // changes, and the saved text shows it among the parts kept as they were.
    session.Request(0, [](Camera& camera) {
        Bytes step{0x34, 0x12, 0, 0xFF};
        return camera.KsProperty(BridgeProperty(0x10000002), step);
    });
    const std::string latched = ReadText(rig->statePath());
    const auto saved = nlohmann::ordered_json::parse(latched);
    EXPECT_EQ(saved["devices"][0]["bridgeXu"]["address"], 0x1234);
    EXPECT_EQ(saved["devices"][0]["registers"]["0x2000"], 1);
    EXPECT_EQ(latched, saved.dump(2) + "\n");

    ASSERT_TRUE(session.Reset(error)) << error;
    ASSERT_TRUE(session.DumpState(dump, error)) << error;
    EXPECT_EQ(ReadText(rig->statePath()), dump) << "cut to length: no blanks left from the longer text";
    EXPECT_EQ(nlohmann::json::parse(dump)["devices"][0]["registers"].size(), 1u);
}

}  // namespace
}  // namespace kv::sim::test
