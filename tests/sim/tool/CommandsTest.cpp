// kvsim's commands: dump, trace and reset on a rig in a scratch folder.
#include <gtest/gtest.h>

#include <algorithm>

#include <sstream>

#include <nlohmann/json.hpp>

#include "sim/rig/Session.h"
#include "sim/tool/Commands.h"
#include "tests/sim/rig/RigTestSupport.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::sim::test {
namespace {

int RunCommand(const Rig& rig, const std::string& name, std::vector<std::string> args, std::string& out,
               std::string& err) {
    for (const auto& command : tool::Commands()) {
        if (name != command.name) continue;
        std::ostringstream o;
        std::ostringstream e;
        const int status = command.run({rig, args, o, e});
        out = o.str();
        err = e.str();
        return status;
    }
    ADD_FAILURE() << "no command " << name;
    return -1;
}

TEST(KvsimCommandsTest, DumpTraceAndReset) {
    ScratchDir dir;
    const auto rig =
        LoadRig(dir.Write("rig.json", R"({"devices":[{"productId":"0x0610","driverProperties":{"29":1}}]})"));
    ASSERT_TRUE(rig);
    std::string out;
    std::string err;

    ASSERT_EQ(RunCommand(*rig, "trace", {}, out, err), 0);
    EXPECT_EQ(out, "") << "no request yet";

    // The driver block as the camera object sends it: set, id, 2, value.
    std::vector<std::uint8_t> block(40, 0);
    const auto set = wire::kDriverPropertySet.ToBytes();
    std::copy(set.begin(), set.end(), block.begin());
    wire::WriteLe32(block, 16, 29);
    wire::WriteLe32(block, 20, 2);
    wire::WriteLe32(block, 24, 2);
    Session(*rig).PropertySetSet(0, wire::kDriverPropertySet, 29, block, block);

    ASSERT_EQ(RunCommand(*rig, "dump", {}, out, err), 0);
    EXPECT_EQ(nlohmann::json::parse(out)["devices"][0]["driverProperties"]["29"], 2);
    ASSERT_EQ(RunCommand(*rig, "trace", {}, out, err), 0);
    EXPECT_EQ(nlohmann::json::parse(out)["path"], "driver");

    ASSERT_EQ(RunCommand(*rig, "reset", {}, out, err), 0);
    RunCommand(*rig, "dump", {}, out, err);
    EXPECT_EQ(nlohmann::json::parse(out)["devices"][0]["driverProperties"]["29"], 1);
    RunCommand(*rig, "trace", {}, out, err);
    EXPECT_EQ(out, "");

    EXPECT_EQ(RunCommand(*rig, "dump", {"extra"}, out, err), 2);
    EXPECT_NE(err.find("unexpected argument \"extra\""), std::string::npos);
}

TEST(KvsimCommandsTest, DumpOfADamagedStateFailsWithTheReason) {
    ScratchDir dir;
    const auto rig = LoadRig(dir.Write("rig.json", R"({"devices":[{"productId":1}]})"));
    dir.Write("rig.state.json", "not json");
    std::string out;
    std::string err;
    EXPECT_EQ(RunCommand(*rig, "dump", {}, out, err), 1);
    EXPECT_NE(err.find("rig.state.json: not a valid state file"), std::string::npos) << err;
}

}  // namespace
}  // namespace kv::sim::test
