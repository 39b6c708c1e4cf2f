// GUID text and byte layout.
#include <gtest/gtest.h>

#include "platform/Guid.h"
#include "wire/PropertySets.h"

namespace kv::platform {
namespace {

TEST(GuidTest, ParsesFormatsAndLaysOutBytesAsThePlatformDoes) {
    const auto guid = Guid::Parse("{28f03370-6311-4a2e-ba2c-6890eb334016}");
    ASSERT_TRUE(guid);
    EXPECT_EQ(*guid, wire::kBridgeXuSet);
    EXPECT_EQ(guid->ToString(), "{28F03370-6311-4A2E-BA2C-6890EB334016}");
    const auto bytes = guid->ToBytes();
    EXPECT_EQ(bytes[0], 0x70);
    EXPECT_EQ(bytes[3], 0x28);
    EXPECT_EQ(bytes[4], 0x11);
    EXPECT_EQ(bytes[6], 0x2E);
    EXPECT_EQ(bytes[8], 0xBA);
    EXPECT_EQ(Guid::FromBytes(bytes), *guid);
    EXPECT_EQ(Guid::Parse("28F03370-6311-4A2E-BA2C-6890EB334016"), guid);
}

TEST(GuidTest, RefusesMalformedText) {
    EXPECT_FALSE(Guid::Parse("{28F03370-6311-4A2E-BA2C-6890EB33401}"));
    EXPECT_FALSE(Guid::Parse("{28F03370-6311-4A2E-BA2C-6890EB33401G}"));
    EXPECT_FALSE(Guid::Parse("{28F03370+6311-4A2E-BA2C-6890EB334016}"));
    EXPECT_FALSE(Guid::Parse("(28F03370-6311-4A2E-BA2C-6890EB334016)"));
    EXPECT_FALSE(Guid::Parse(""));
}

}  // namespace
}  // namespace kv::platform
