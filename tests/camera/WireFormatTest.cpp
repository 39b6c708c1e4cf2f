// What the register, sensor and driver-property primitives put on the wire.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/Guid.h"
#include "tests/camera/CameraFixture.h"

namespace kv::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Writes = std::vector<std::pair<int, int>>;

class WireTest : public BridgeTest {};

std::uint32_t Word(const std::uint8_t* bytes) {
    std::uint32_t word = 0;
    std::memcpy(&word, bytes, 4);  // the wire is little-endian, as every build host here
    return word;
}

TEST_F(WireTest, AsicWriteSendsTheExtensionUnitRequestAndTheLowBytes) {
    EXPECT_EQ(camera.Asic_Write(0x10D3, 0x1234), 1);
    ASSERT_EQ(bridge->requests.size(), 1u);
    const auto& request = bridge->requests[0];
    const auto guid = platform::MakeGuid("{28F03370-6311-4A2E-BA2C-6890EB334016}").ToBytes();
    EXPECT_TRUE(std::equal(guid.begin(), guid.end(), request.property.begin()));
    EXPECT_EQ(Word(&request.property[16]), 1u);
    EXPECT_EQ(Word(&request.property[20]), 0x10000002u);
    EXPECT_EQ(Word(&request.property[24]), 1u);
    EXPECT_THAT(request.data, ElementsAre(0xD3, 0x10, 0x34, 0x00));
}

TEST_F(WireTest, AsicReadLatchesThenGetsByteTwo) {
    bridge->registers[0x1006] = 0x5A;
    std::uint8_t value = 0;
    EXPECT_EQ(camera.Asic_Read(0x1006, &value), 1);
    EXPECT_EQ(value, 0x5A);
    ASSERT_EQ(bridge->requests.size(), 2u);
    EXPECT_THAT(bridge->requests[0].data, ElementsAre(0x06, 0x10, 0x00, 0xFF));
    EXPECT_EQ(Word(&bridge->requests[1].property[20]), 0x10000001u);
}

TEST_F(WireTest, AFailedReadLeavesTheCallersByteAlone) {
    bridge->failWith = platform::kE_FAIL;
    std::uint8_t value = 0x77;
    EXPECT_EQ(camera.Asic_Read(0x1006, &value), 0);
    EXPECT_EQ(value, 0x77);
    EXPECT_EQ(bridge->requests.size(), 1u);  // no get after a failed latch
    EXPECT_EQ(camera.Asic_Write(0x1006, 1), 0);
}

TEST_F(WireTest, NothingIsSentWithoutABoundDevice) {
    ctrl::FilterPair empty;
    ctrl::CDxWnd unbound{fakes.ports, empty, kept};
    std::uint8_t byte = 0;
    std::uint16_t word = 0;
    EXPECT_EQ(unbound.Asic_Write(0x1006, 1), 0);
    EXPECT_EQ(unbound.Asic_Read(0x1006, &byte), 0);
    EXPECT_EQ(unbound.Sensor_Write(0x5D, 0x10, 1, 1), 0);
    EXPECT_EQ(unbound.Sensor_Read(0x5D, 0x10, &word, 1), 0);
    EXPECT_NE(unbound.KsProp_Set(11, 1), 1);
    EXPECT_TRUE(platform::Failed(unbound.Camera_QueryRanges()));
    EXPECT_TRUE(bridge->requests.empty());
}

const Writes kStartOf16BitWrite = {{0x10D9, 1}, {0x10D8, 1}, {0x10D0, 0xB0}, {0x10D1, 0x5D}, {0x10D2, 0x21}};

TEST_F(WireTest, SensorWriteRunsTheI2cEngineAndPollsItsStatus) {
    bridge->statusReads = {0x00, 0x01, 0x04};
    EXPECT_EQ(camera.Sensor_Write(0x5D, 0x21, 0xABCD, 2), 1);
    Writes expected = kStartOf16BitWrite;
    expected.insert(expected.end(), {{0x10D3, 0xAB}, {0x10D4, 0xCD}, {0x10D5, 0}, {0x10D6, 0}, {0x10D7, 0x10}});
    EXPECT_EQ(bridge->Writes(), expected);
    EXPECT_THAT(bridge->Reads(), ElementsAre(0x10D0, 0x10D0, 0x10D0));
}

TEST_F(WireTest, SensorWriteWidths) {
    bridge->readOnly[0x10D0] = 0x04;
    EXPECT_EQ(camera.Sensor_Write(0x5D, 0x21, 0xABCD, 5), 1);  // as width 2
    EXPECT_EQ(bridge->Writes()[2], (std::pair{0x10D0, 0xB0}));
    EXPECT_EQ(bridge->Writes()[5], (std::pair{0x10D3, 0xAB}));

    bridge->requests.clear();
    EXPECT_EQ(camera.Sensor_Write(0x20, 0x21, 0xABCD, 1), 1);
    EXPECT_EQ(bridge->Writes()[2], (std::pair{0x10D0, 0xA0}));
    EXPECT_EQ(bridge->Writes()[5], (std::pair{0x10D3, 0xCD}));
    EXPECT_EQ(bridge->Writes()[6], (std::pair{0x10D4, 0x00}));

    bridge->requests.clear();
    EXPECT_EQ(camera.Sensor_Write(0x20, 0x21, 0xABCD, 0), 1);  // the register address alone
    EXPECT_EQ(bridge->Writes()[2], (std::pair{0x10D0, 0x90}));
    EXPECT_EQ(bridge->Writes()[5], (std::pair{0x10D3, 0x00}));
    EXPECT_EQ(bridge->Writes()[6], (std::pair{0x10D4, 0x00}));
}

TEST_F(WireTest, TransferStatusDecidesTheResult) {
    for (const std::uint8_t status : {0x04, 0x14}) {
        bridge->statusReads = {status};
        EXPECT_EQ(camera.Sensor_Write(0x5D, 1, 1, 1), 1) << int(status);
    }
    bridge->statusReads = {0x0C};
    EXPECT_EQ(camera.Sensor_Write(0x5D, 1, 1, 1), 0);

    bridge->requests.clear();
    bridge->readOnly[0x10D0] = 0x00;  // never finishes
    EXPECT_EQ(camera.Sensor_Write(0x5D, 1, 1, 1), 0);
    EXPECT_EQ(bridge->Reads().size(), 10u);
    std::uint16_t value = 0x4242;
    EXPECT_EQ(camera.Sensor_Read(0x5D, 1, &value, 1), 0);
    EXPECT_EQ(value, 0x4242);
}

class SensorReadTest : public WireTest {
protected:
    void SetUp() override {
        WireTest::SetUp();
        bridge->readOnly = {{0x10D0, 0x04}, {0x10D2, 0xEE}, {0x10D5, 0x12}, {0x10D6, 0x34}};
    }
};

TEST_F(SensorReadTest, TwoBytesComeFromD5AndD6) {
    std::uint16_t value = 0;
    EXPECT_EQ(camera.Sensor_Read(0x5D, 0x21, &value, 2), 1);
    EXPECT_EQ(value, 0x1234);
    const Writes writes = bridge->Writes();
    ASSERT_EQ(writes.size(), 20u);  // the address-only write, then the read
    EXPECT_EQ(writes[2], (std::pair{0x10D0, 0x90}));
    EXPECT_EQ(Writes(writes.begin() + 10, writes.end()), (Writes{{0x10D9, 1},
                                                                 {0x10D8, 1},
                                                                 {0x10D0, 0xA2},
                                                                 {0x10D1, 0x5D},
                                                                 {0x10D2, 0},
                                                                 {0x10D3, 0},
                                                                 {0x10D4, 0},
                                                                 {0x10D5, 0},
                                                                 {0x10D6, 0},
                                                                 {0x10D7, 0x10}}));
    const auto reads = bridge->Reads();
    EXPECT_THAT(std::vector<int>(reads.end() - 5, reads.end()), ElementsAre(0x10D2, 0x10D3, 0x10D4, 0x10D5, 0x10D6));
}

TEST_F(SensorReadTest, WidthsOneAboveTwoAndZero) {
    std::uint16_t value = 0;
    EXPECT_EQ(camera.Sensor_Read(0x5D, 0x21, &value, 1), 1);
    EXPECT_EQ(value, 0x34);
    EXPECT_EQ(bridge->Writes()[12], (std::pair{0x10D0, 0x92}));
    EXPECT_EQ(camera.Sensor_Read(0x5D, 0x21, &value, 7), 1);
    EXPECT_EQ(value, 0x1234);

    bridge->requests.clear();
    value = 0x4242;
    EXPECT_EQ(camera.Sensor_Read(0x5D, 0x21, &value, 0), 0);
    EXPECT_EQ(value, 0x4242);
    EXPECT_TRUE(bridge->requests.empty());
}

TEST_F(WireTest, Sensor21InitWritesItsListOneByteEach) {
    bridge->readOnly[0x10D0] = 0x04;
    camera.Sensor21_Init();
    std::vector<std::pair<int, int>> sensorWrites;
    const Writes writes = bridge->Writes();
    for (std::size_t i = 0; i + 5 < writes.size(); i += 10) {
        EXPECT_EQ(writes[i + 2], (std::pair{0x10D0, 0xA0}));
        EXPECT_EQ(writes[i + 3], (std::pair{0x10D1, 0x21}));
        sensorWrites.emplace_back(writes[i + 4].second, writes[i + 5].second);
    }
    EXPECT_EQ(
        sensorWrites,
        (Writes{{0x46, 0x05}, {0x47, 0x00}, {0x48, 0x00}, {0x49, 0x11}, {0x4A, 0x00}, {0x4B, 0x10}, {0x4C, 0x10}}));
}

TEST_F(WireTest, KsPropSetSendsTheDriverBlockAsInstanceAndData) {
    EXPECT_EQ(camera.KsProp_Set(12, 100 * 10000), 1);
    ASSERT_EQ(filter->propertySet->calls.size(), 1u);
    const auto& call = filter->propertySet->calls[0];
    const auto set = platform::MakeGuid("{D80AF729-7C23-4E10-BC5F-1D8C157F96E3}");
    EXPECT_EQ(call.set, set);
    EXPECT_EQ(call.id, 12u);
    ASSERT_EQ(call.data.size(), 40u);
    EXPECT_EQ(call.instance, call.data);
    const auto guid = set.ToBytes();
    EXPECT_TRUE(std::equal(guid.begin(), guid.end(), call.data.begin()));
    EXPECT_EQ(Word(&call.data[16]), 12u);
    EXPECT_EQ(Word(&call.data[20]), 2u);
    EXPECT_EQ(Word(&call.data[24]), 1000000u);
    EXPECT_TRUE(std::all_of(call.data.begin() + 28, call.data.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(WireTest, KsPropSetWithoutThePropertySetReturnsTheQueryFailure) {
    filter->propertySet = nullptr;
    EXPECT_EQ(camera.KsProp_Set(11, 1), platform::kE_NOINTERFACE);
}

TEST_F(WireTest, QueryRangesFillsTenRecordsAndDefaultsAreManual) {
    filter->procAmp = std::make_shared<FakeRangedProperties>();
    filter->procAmp->ranges[1] = {0, 64, 1, 32, 3, 40};
    filter->cameraControl = std::make_shared<FakeRangedProperties>();
    filter->cameraControl->ranges[4] = {-11, -2, 1, -6, 3, -5};
    EXPECT_EQ(camera.Camera_QueryRanges(), platform::kS_OK);
    ASSERT_EQ(camera.ranges().size(), 10u);
    EXPECT_EQ(camera.ranges()[1].maximum, 64);
    EXPECT_EQ(camera.ranges()[1].saved, 40);
    EXPECT_EQ(camera.ranges()[0].maximum, 0);  // no range: left as it was
    EXPECT_EQ(camera.ranges()[9].minimum, -11);
    EXPECT_EQ(camera.ranges()[9].saved, -5);

    camera.Image_Reset();
    using Set = std::array<std::int32_t, 3>;
    EXPECT_THAT(filter->procAmp->sets, ElementsAre(Set{0, 0, 2}, Set{1, 32, 2}, Set{2, 3, 2}, Set{4, 2, 2},
                                                   Set{5, 85, 2}, Set{8, 1, 2}, Set{3, 60, 2}));
}

TEST_F(WireTest, WithoutCameraControlTheExposureRecordIsZeroed) {
    EXPECT_TRUE(platform::Failed(camera.Camera_QueryRanges()));
    ASSERT_EQ(camera.ranges().size(), 10u);
    EXPECT_EQ(camera.ranges()[0].maximum, 0);
    EXPECT_EQ(camera.VideoProcAmp_SetDefaults(), platform::kS_OK);  // nothing to set
}

}  // namespace
}  // namespace kv::test
