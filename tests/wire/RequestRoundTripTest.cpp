// The request builders read back by the parsers a device side uses, and the
// one key that is spelled out rather than built from its parts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "wire/BridgeRegister.h"
#include "wire/DriverProperty.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"
#include "wire/VendorKeys.h"

namespace kv::wire {
namespace {

TEST(KsRequestTest, ANodePropertyReadsBackAsAWellFormedTopologyRequest) {
    const auto bytes = NodeProperty(kAveoXuSet, 0x01020304, kNodeSet, 0xA0B0C0D0);
    const auto request = KsRequest::Parse(bytes);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->set, kAveoXuSet);
    EXPECT_EQ(request->id, 0x01020304u);
    EXPECT_EQ(request->flags, 0x10000002u);
    EXPECT_TRUE(request->hasNode);
    EXPECT_EQ(request->node, 0xA0B0C0D0u);
    EXPECT_TRUE(request->Topology());
    EXPECT_EQ(request->Type(), kKsSet);
    EXPECT_TRUE(request->WellFormed());
    // Little-endian words after the set, and a zero reserved word.
    EXPECT_EQ(bytes[16], 0x04);
    EXPECT_EQ(bytes[27], 0xA0);
    EXPECT_EQ(ReadLe32(bytes, 28), 0u);
}

TEST(KsRequestTest, SizeDecidesWhatIsReadAndWhatIsWellFormed) {
    const auto node = NodeProperty(kBridgeXuSet, 1, kNodeGet, 1);
    EXPECT_FALSE(KsRequest::Parse(std::span(node).first(23)));
    const auto plain = KsRequest::Parse(std::span(node).first(24));
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->hasNode);
    EXPECT_FALSE(plain->WellFormed()) << "a topology flag on a 24-byte KSPROPERTY";

    auto untyped = node;
    WriteLe32(untyped, 20, kKsGet);
    EXPECT_TRUE(KsRequest::Parse(std::span(untyped).first(24))->WellFormed());
    EXPECT_FALSE(KsRequest::Parse(untyped)->WellFormed()) << "a KSP_NODE without the topology flag";
}

TEST(BridgeRegisterTest, BlocksCarryTheLowAddressBytesAndTheirMark) {
    const auto write = BridgeWriteBlock(0x3A10D3, 0x1234);
    EXPECT_EQ(write, (BridgeBlock{0xD3, 0x10, 0x34, kBridgeWriteMark}));
    EXPECT_EQ(BridgeBlockAddress(write), 0x10D3);
    EXPECT_EQ(BridgeLatchBlock(0x1006), (BridgeBlock{0x06, 0x10, 0x00, 0xFF}));
}

TEST(DriverPropertyTest, TheBlockReadsBackForItsIdOnly) {
    for (const std::int32_t value : {0, 1, 1000000, -1, INT32_MIN}) {
        const auto block = DriverProperty(29, value);
        EXPECT_EQ(ParseDriverProperty(block, 29), value);
        EXPECT_FALSE(ParseDriverProperty(block, 12));
    }
}

TEST(DriverPropertyTest, AnythingButTheExactBlockIsRefused) {
    const auto good = DriverProperty(11, 1);
    EXPECT_FALSE(ParseDriverProperty(std::span(good).first(39), 11));

    auto tail = good;
    tail[39] = 1;
    EXPECT_FALSE(ParseDriverProperty(tail, 11));
    auto flags = good;
    WriteLe32(flags, 20, kKsGet);
    EXPECT_FALSE(ParseDriverProperty(flags, 11));
    auto set = good;
    set[0] ^= 0xFF;
    EXPECT_FALSE(ParseDriverProperty(set, 11));
}

TEST(VendorKeysTest, ThePluginsNodeInterfaceKeyIsNamedByItsSet) {
    EXPECT_EQ(std::string(kPluginNodeInterfaceKey), std::string(kNodeInterfacesKey) + "\\" + kPluginXuSet.ToString());
}

}  // namespace
}  // namespace kv::wire
