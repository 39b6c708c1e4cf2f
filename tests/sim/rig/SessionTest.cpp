// Requests through a rig session: the state file shared between processes,
// the trace, reset, stale and damaged state files.
#include <gtest/gtest.h>

#include <sstream>

#include <nlohmann/json.hpp>

#include "sim/rig/Session.h"
#include "tests/sim/rig/RigTestSupport.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::sim::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const kRig = R"({"devices":[
  {"productId":"0x0840","extensionUnits":{"bridge":{"node":1}},"registers":{"0x1006":"0x0F"},
   "i2cDevices":{"0x5D":{}}},
  {"productId":"0x0990","extensionUnits":{"aveo":{"node":2}},"i2cDevices":{"0x78":{},"0x62":{"registers":{"0x04":16}}}}
]})";

Bytes NodeProperty(const platform::Guid& set, std::uint32_t id, std::uint32_t flags, std::uint32_t node) {
    const auto block = wire::NodeProperty(set, id, flags, node);
    return Bytes(block.begin(), block.end());
}

Answer BridgeWrite(Session& session, std::uint16_t address, std::uint8_t value) {
    Bytes block{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), value, 0};
    return session.KsProperty(0, NodeProperty(wire::kBridgeXuSet, 1, 0x10000002, 1), block);
}

std::uint8_t BridgeRead(Session& session, std::uint16_t address) {
    Bytes step1{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), 0, 0xFF};
    session.KsProperty(0, NodeProperty(wire::kBridgeXuSet, 1, 0x10000002, 1), step1);
    Bytes reply(4, 0);
    session.KsProperty(0, NodeProperty(wire::kBridgeXuSet, 1, 0x10000001, 1), reply);
    return reply[2];
}

std::vector<nlohmann::json> TraceLines(const Rig& rig) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(ReadText(rig.tracePath()));
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
}

class SessionTest : public ::testing::Test {
protected:
    SessionTest() : file(dir.Write("rig.json", kRig)), rig(LoadRig(file)), session(*rig) {}
    ScratchDir dir;
    std::filesystem::path file;
    std::unique_ptr<Rig> rig;
    Session session;
};

TEST_F(SessionTest, StateOutlivesTheSessionAndIsSharedThroughTheFile) {
    ASSERT_EQ(BridgeWrite(session, 0x1006, 0xA5).hr, 0);
    EXPECT_TRUE(std::filesystem::exists(rig->statePath()));

    const auto other = LoadRig(file);  // as another process would
    Session second(*other);
    EXPECT_EQ(BridgeRead(second, 0x1006), 0xA5);
    EXPECT_EQ(BridgeRead(session, 0x1007), 0x00);
}

TEST_F(SessionTest, TraceHasOneLinePerRequestInOrderWithTheBytes) {
    BridgeWrite(session, 0x1006, 0x01);
    Bytes block(32, 0);
    block[0] = 5;
    block[1] = 0x0A;
    block[3] = 0x04;
    block[5] = 0x62;  // FLC switch pattern
    ASSERT_EQ(session.KsProperty(1, NodeProperty(wire::kAveoXuSet, 2, 0x10000002, 2), block).hr, 0);

    const auto lines = TraceLines(*rig);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["seq"], 0);
    EXPECT_EQ(lines[1]["seq"], 1);
    EXPECT_EQ(lines[0]["camera"], 0);
    EXPECT_EQ(lines[0]["path"], "bridge-xu");
    EXPECT_EQ(lines[0]["op"], "set");
    EXPECT_EQ(lines[0]["set"], "{28F03370-6311-4A2E-BA2C-6890EB334016}");
    EXPECT_EQ(lines[0]["flags"], "0x10000002");
    EXPECT_EQ(lines[0]["node"], 1);
    EXPECT_EQ(lines[0]["data"], "06 10 01 00");
    EXPECT_EQ(lines[0]["hr"], "0x00000000");
    EXPECT_EQ(lines[1]["camera"], 1);
    ASSERT_EQ(lines[1]["i2c"].size(), 1u);
    EXPECT_EQ(lines[1]["i2c"][0]["slave"], "0x62");
    EXPECT_EQ(lines[1]["i2c"][0]["address"], "04");
    EXPECT_EQ(lines[1]["i2c"][0]["data"], "0A");
    EXPECT_EQ(lines[1]["i2c"][0]["ack"], true);
}

TEST_F(SessionTest, ATransactionKeepsItsRequestsTogether) {
    const Answer answer = session.Request(0, [](Camera& camera) {
        Bytes step1{0x06, 0x10, 0, 0xFF};
        camera.KsProperty(NodeProperty(wire::kBridgeXuSet, 1, 0x10000002, 1), step1);
        Bytes reply(4, 0);
        camera.KsProperty(NodeProperty(wire::kBridgeXuSet, 1, 0x10000001, 1), reply);
        Bytes write{0x06, 0x10, static_cast<std::uint8_t>(reply[2] + 1), 0};
        return camera.KsProperty(NodeProperty(wire::kBridgeXuSet, 1, 0x10000002, 1), write);
    });
    ASSERT_EQ(answer.hr, 0);
    EXPECT_EQ(TraceLines(*rig).size(), 3u);
    EXPECT_EQ(BridgeRead(session, 0x1006), 0x10);
}

TEST_F(SessionTest, ResetRestoresTheInitialStateAndEmptiesTheTrace) {
    BridgeWrite(session, 0x1006, 0xFF);
    std::string error;
    ASSERT_TRUE(session.Reset(error)) << error;
    EXPECT_TRUE(TraceLines(*rig).empty());
    EXPECT_EQ(BridgeRead(session, 0x1006), 0x0F);
    EXPECT_EQ(TraceLines(*rig).front()["seq"], 0) << "sequence numbers start again";
}

TEST_F(SessionTest, StateMadeFromAnotherVersionOfTheRigIsNotUsedAndItsTraceGoesWithIt) {
    BridgeWrite(session, 0x1006, 0xFF);
    BridgeWrite(session, 0x1007, 0xFF);
    std::string text = kRig;
    text.replace(text.find("0x0F"), 4, "0x3C");
    dir.Write("rig.json", text);
    const auto edited = LoadRig(file);
    Session fresh(*edited);
    EXPECT_EQ(BridgeRead(fresh, 0x1006), 0x3C);

    const auto lines = TraceLines(*edited);
    ASSERT_EQ(lines.size(), 2u) << "only the edited rig's read is in the trace";
    EXPECT_EQ(lines[0]["seq"], 0);
    EXPECT_EQ(lines[0]["data"], "06 10 00 FF");
    EXPECT_EQ(lines[1]["seq"], 1);
    BridgeWrite(fresh, 0x1006, 1);
    EXPECT_EQ(TraceLines(*edited).size(), 3u) << "the trace grows again once the state is the rig's";
}

TEST_F(SessionTest, AnOutdatedRigNeverWipesTheStateOfTheEditedOne) {
    std::string text = kRig;
    text.replace(text.find("0x0F"), 4, "0x3C");
    dir.Write("rig.json", text);
    const auto edited = LoadRig(file);
    Session newer(*edited);
    ASSERT_EQ(BridgeWrite(newer, 0x1007, 0x77).hr, 0);

    // `session` still holds the rig as it was before the edit.
    EXPECT_FALSE(edited->FileChanged());
    EXPECT_TRUE(rig->FileChanged());
    EXPECT_EQ(BridgeWrite(session, 0x1006, 0x01).hr, platform::kE_FAIL);
    EXPECT_NE(session.lastError().find("edited after this process loaded it"), std::string::npos)
        << session.lastError();
    EXPECT_EQ(BridgeRead(newer, 0x1007), 0x77) << "the newer process's write is kept";
    EXPECT_EQ(BridgeRead(newer, 0x1006), 0x3C);
}

TEST_F(SessionTest, ARequestWhoseTraceCannotBeWrittenIsStillDone) {
    ASSERT_EQ(BridgeWrite(session, 0x1006, 0x01).hr, 0);
    std::filesystem::remove(rig->tracePath());
    std::filesystem::create_directory(rig->tracePath());  // no file can be appended to there
    testing::internal::CaptureStderr();
    const Answer written = BridgeWrite(session, 0x1006, 0x5A);
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written.hr, 0) << "the change was kept, so the request succeeded";
    EXPECT_NE(reported.find("the trace misses this request"), std::string::npos) << reported;
    std::filesystem::remove(rig->tracePath());
    EXPECT_EQ(BridgeRead(session, 0x1006), 0x5A);
}

TEST_F(SessionTest, AStateFileThatIsGoneStartsTheTraceAgain) {
    BridgeWrite(session, 0x1006, 0xFF);
    std::filesystem::remove(rig->statePath());
    std::string dump;
    std::string error;
    ASSERT_TRUE(session.DumpState(dump, error)) << error;
    EXPECT_EQ(TraceLines(*rig).size(), 1u) << "a dump writes nothing";

    EXPECT_EQ(BridgeRead(session, 0x1006), 0x0F);
    const auto lines = TraceLines(*rig);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["seq"], 0);
    EXPECT_EQ(lines[1]["seq"], 1);
}

TEST_F(SessionTest, DamagedStateFailsRequestsWithoutOverwritingIt) {
    dir.Write("rig.state.json", "{\"format\":\"kvsim-state-1\",");
    EXPECT_EQ(BridgeWrite(session, 0x1006, 1).hr, platform::kE_FAIL);
    EXPECT_NE(session.lastError().find("rig.state.json"), std::string::npos) << session.lastError();
    EXPECT_NE(session.lastError().find("kvsim reset"), std::string::npos);
    EXPECT_EQ(ReadText(rig->statePath()), "{\"format\":\"kvsim-state-1\",");
    std::string text;
    std::string error;
    EXPECT_FALSE(session.DumpState(text, error));

    ASSERT_TRUE(session.Reset(error)) << error;
    EXPECT_EQ(BridgeWrite(session, 0x1006, 1).hr, 0);
}

TEST_F(SessionTest, UnknownDeviceFails) {
    Bytes block{0x06, 0x10, 1, 0};
    EXPECT_EQ(session.KsProperty(7, NodeProperty(wire::kBridgeXuSet, 1, 0x10000002, 1), block).hr, platform::kE_FAIL);
    EXPECT_NE(session.lastError().find("no device 7"), std::string::npos);
}

TEST_F(SessionTest, DumpRoundTripsEveryKindOfState) {
    BridgeWrite(session, 0x10D9, 1);
    BridgeWrite(session, 0x10D8, 1);
    BridgeWrite(session, 0x10D0, 0xB0);
    BridgeWrite(session, 0x10D1, 0x5D);
    BridgeWrite(session, 0x10D2, 0xF0);
    BridgeWrite(session, 0x10D3, 0x00);
    BridgeWrite(session, 0x10D4, 0x02);
    BridgeWrite(session, 0x10D7, 0x10);
    Bytes ext(32, 0);
    ext[0] = 0xF2;
    ext[1] = 0x01;
    session.KsProperty(1, NodeProperty(wire::kAveoXuSet, 2, 0x10000002, 2), ext);
    session.Set(0, PropertyGroup::VideoProcAmp, 1, 40, 2);

    std::string first;
    std::string error;
    ASSERT_TRUE(session.DumpState(first, error)) << error;
    const auto dump = nlohmann::json::parse(first);
    EXPECT_EQ(dump["devices"][0]["i2cDevices"]["0x5D"]["page"], 2);
    EXPECT_EQ(dump["devices"][0]["registers"]["0x10D0"], 4);
    EXPECT_EQ(dump["devices"][1]["aveoXu"]["extended"]["0xF2"], "01");
    EXPECT_EQ(dump["devices"][0]["videoProcAmp"]["1"]["value"], 40);

    const auto reloaded = LoadRig(file);
    Session again(*reloaded);
    std::string second;
    ASSERT_TRUE(again.DumpState(second, error)) << error;
    EXPECT_EQ(first, second);
}

TEST_F(SessionTest, DumpBeforeAnyRequestShowsTheInitialStateAndWritesNothing) {
    std::string text;
    std::string error;
    ASSERT_TRUE(session.DumpState(text, error)) << error;
    EXPECT_EQ(nlohmann::json::parse(text)["devices"][0]["registers"]["0x1006"], 0x0F);
    EXPECT_FALSE(std::filesystem::exists(rig->statePath()));
}

// Preparing is what enumeration does: it reads, never writes, and a copy it
// read does not hide what other processes write afterwards.
TEST_F(SessionTest, PreparingWritesNothingAndHidesNoLaterWrite) {
    session.Prepare();
    EXPECT_TRUE(std::filesystem::exists(rig->lockPath())) << "the lock file is opened then";
    EXPECT_FALSE(std::filesystem::exists(rig->statePath()));
    EXPECT_FALSE(std::filesystem::exists(rig->tracePath()));
    ASSERT_EQ(BridgeWrite(session, 0x1006, 0xA5).hr, 0);

    const auto other = LoadRig(file);  // as another process would
    Session second(*other);
    second.Prepare();
    ASSERT_EQ(BridgeWrite(session, 0x1006, 0x5A).hr, 0);
    EXPECT_EQ(BridgeRead(second, 0x1006), 0x5A);
    const auto lines = TraceLines(*rig);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2]["seq"], 2);
    EXPECT_EQ(lines[3]["seq"], 3);
}

}  // namespace
}  // namespace kv::sim::test
