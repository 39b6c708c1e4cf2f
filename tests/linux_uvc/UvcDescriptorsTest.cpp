// Extension units found in descriptor blobs laid out by hand after the USB
// video class: what a camera declares is found, what a broken or hostile
// device sends never reads past the blob.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "linux_uvc/UvcDescriptors.h"

namespace kv::platform::linux_uvc {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Guid kFirst = MakeGuid("{01234567-89AB-CDEF-0011-223344556677}");
const Guid kSecond = MakeGuid("{A168A168-0001-0002-8899-AABBCCDDEEFF}");

void Append(Bytes& blob, std::initializer_list<std::uint8_t> bytes) { blob.insert(blob.end(), bytes); }

void AppendInterface(Bytes& blob, std::uint8_t number, std::uint8_t subclass) {
    Append(blob, {9, 0x04, number, 0, 0, 0x0E, subclass, 0, 0});
}

// An extension unit with one source and a two-byte control bitmap (27 bytes).
void AppendUnit(Bytes& blob, std::uint8_t id, const Guid& guid, std::uint8_t subtype = 0x06) {
    Append(blob, {27, 0x24, subtype, id});
    const auto bytes = guid.ToBytes();
    blob.insert(blob.end(), bytes.begin(), bytes.end());
    Append(blob, {8, 1, 2, 2, 0xFF, 0xFF, 0});
}

// Device descriptor, configuration, interface association, VideoControl 0
// with header, camera terminal, two units and an output terminal, then
// VideoStreaming 1 whose format record has the unit's subtype number.
Bytes Camera() {
    Bytes blob = {18, 0x01, 0x00, 0x02, 0xEF, 0x02, 0x01, 0x40, 0x68, 0xA1, 0x70, 0x08, 0, 1, 1, 2, 3, 1};
    Append(blob, {9, 0x02, 0, 0, 2, 1, 0, 0x80, 0xFA});
    Append(blob, {8, 0x0B, 0, 2, 0x0E, 0x03, 0, 2});
    AppendInterface(blob, 0, 0x01);
    Append(blob, {13, 0x24, 0x01, 0x00, 0x01, 0x4D, 0, 0, 0, 0, 0, 1, 1});
    Append(blob, {18, 0x24, 0x02, 1, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0});
    AppendUnit(blob, 4, kFirst);
    AppendUnit(blob, 6, kSecond);
    Append(blob, {9, 0x24, 0x03, 2, 1, 1, 0, 6, 0});
    AppendInterface(blob, 1, 0x02);
    AppendUnit(blob, 9, kFirst, 0x06);
    return blob;
}

TEST(UvcDescriptorsTest, FindsEachUnitOfTheVideoControlInterfaceOnly) {
    const Bytes blob = Camera();
    const auto units = ReadExtensionUnits(blob);
    ASSERT_EQ(units.size(), 2u) << "the streaming interface's record of the same subtype is no unit";
    EXPECT_EQ(units[0].unitId, 4);
    EXPECT_EQ(units[0].guid, kFirst) << "first three fields little-endian";
    EXPECT_EQ(units[1].unitId, 6);
    EXPECT_EQ(units[1].guid, kSecond);
    EXPECT_EQ(units[1].interfaceNumber, 0);

    EXPECT_EQ(FindExtensionUnit(blob, 0, kSecond), 6);
    EXPECT_EQ(FindExtensionUnit(blob, 1, kFirst), std::nullopt);
    EXPECT_EQ(FindExtensionUnit(blob, 0, MakeGuid("{00000000-0000-0000-0000-000000000001}")), std::nullopt);
}

TEST(UvcDescriptorsTest, ABrokenChainKeepsWhatCameBeforeIt) {
    const Bytes whole = Camera();
    const std::size_t secondUnit = 18 + 9 + 8 + 9 + 13 + 18 + 27;
    for (std::size_t cut = secondUnit; cut < secondUnit + 27; ++cut) {
        const Bytes truncated(whole.begin(), whole.begin() + static_cast<long>(cut));
        EXPECT_EQ(ReadExtensionUnits(truncated).size(), 1u) << "cut at " << cut;
    }

    Bytes zeroLength = whole;
    zeroLength[secondUnit] = 0;
    EXPECT_EQ(ReadExtensionUnits(zeroLength).size(), 1u) << "a zero length would never advance";

    Bytes overlong = whole;
    overlong[secondUnit] = 0xFF;
    EXPECT_EQ(ReadExtensionUnits(overlong).size(), 1u);

    Bytes shortUnit;
    AppendInterface(shortUnit, 0, 0x01);
    Append(shortUnit, {19, 0x24, 0x06, 5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    AppendUnit(shortUnit, 7, kFirst);
    const auto units = ReadExtensionUnits(shortUnit);
    ASSERT_EQ(units.size(), 1u) << "a unit record too short for its GUID is passed over";
    EXPECT_EQ(units[0].unitId, 7);

    EXPECT_TRUE(ReadExtensionUnits({}).empty());
    EXPECT_TRUE(ReadExtensionUnits(Bytes{1}).empty());
}

}  // namespace
}  // namespace kv::platform::linux_uvc
