// I2C bus and device behaviour: address phases, value widths, pages, the
// address-less sink, and devices that do not acknowledge.
#include <gtest/gtest.h>

#include "sim/hw/I2cBus.h"
#include "sim/hw/I2cDevice.h"

namespace kv::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

class I2cBusTest : public ::testing::Test {
protected:
    I2cBusTest() {
        for (std::uint8_t a : {0x78, 0x5D, 0x62, 0x46}) settings[a] = *DefaultI2cDevice(a);
    }
    std::uint16_t Reg(std::uint8_t slave, std::uint32_t reg) {
        return I2cDeviceRegister(settings[slave], states[slave], reg);
    }

    std::map<std::uint8_t, I2cDeviceSettings> settings;
    std::map<std::uint8_t, I2cDeviceState> states;
    std::vector<I2cEvent> log;
    I2cBus bus{settings, states, &log};
};

TEST_F(I2cBusTest, TwoByteAddressesGoMostSignificantFirstAndThePointerMovesOn) {
    const Bytes address{0x35, 0x03};
    const Bytes data{0x07, 0x08};
    ASSERT_TRUE(bus.Write(0x78, address, data));
    EXPECT_EQ(Reg(0x78, 0x3503), 0x07);
    EXPECT_EQ(Reg(0x78, 0x3504), 0x08);

    Bytes out(2);
    ASSERT_TRUE(bus.ReadAt(0x78, address, out));
    EXPECT_EQ(out, (Bytes{0x07, 0x08}));
}

TEST_F(I2cBusTest, AnAddressOnlyWriteSetsWhereALaterPlainReadStarts) {
    states[0x78].registers[0x3A1E] = 0x26;
    ASSERT_TRUE(bus.Write(0x78, Bytes{0x3A, 0x1E}, {}));
    EXPECT_EQ(Reg(0x78, 0x3A1E), 0x26) << "an address-only write must not store data";
    Bytes out(1);
    ASSERT_TRUE(bus.Read(0x78, out));
    EXPECT_EQ(out[0], 0x26);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(log[1].read);
    EXPECT_EQ(log[0].address, (Bytes{0x3A, 0x1E}));
}

TEST_F(I2cBusTest, PagedSensorKeepsRegistersPerPageAndAnswersSixteenBitValues) {
    ASSERT_TRUE(bus.Write(0x5D, Bytes{0xF0}, Bytes{0x00, 0x02}));
    ASSERT_TRUE(bus.Write(0x5D, Bytes{0x37}, Bytes{0x82, 0x20}));
    ASSERT_TRUE(bus.Write(0x5D, Bytes{0xF0}, Bytes{0x00, 0x01}));
    EXPECT_EQ(Reg(0x5D, 0x37), 0) << "page 1 must not see page 2's register";
    ASSERT_TRUE(bus.Write(0x5D, Bytes{0xF0}, Bytes{0x00, 0x02}));
    Bytes out(2);
    ASSERT_TRUE(bus.ReadAt(0x5D, Bytes{0x37}, out));
    EXPECT_EQ(out, (Bytes{0x82, 0x20}));
    Bytes page(2);
    ASSERT_TRUE(bus.ReadAt(0x5D, Bytes{0xF0}, page));
    EXPECT_EQ(page, (Bytes{0x00, 0x02}));
}

TEST_F(I2cBusTest, AHalfValueIsNotLatchedByASixteenBitRegister) {
    states[0x5D].registers[0x06] = 0x1234;
    ASSERT_TRUE(bus.Write(0x5D, Bytes{0x06}, Bytes{0x99}));
    EXPECT_EQ(Reg(0x5D, 0x06), 0x1234);
}

TEST_F(I2cBusTest, SurplusAddressBytesDoNotMoveAOneByteAddressDevice) {
    states[0x62].registers[0x50] = 0x2A;
    Bytes out(1);
    ASSERT_TRUE(bus.ReadAt(0x62, Bytes{0x50, 0x00}, out));
    EXPECT_EQ(out[0], 0x2A);
    EXPECT_EQ(Reg(0x62, 0x00), 0) << "the second address byte is not data";
}

TEST_F(I2cBusTest, AddresslessSinkKeepsTheLastByteOfEitherPhase) {
    ASSERT_TRUE(bus.Write(0x46, {}, Bytes{0x11, 0x22}));
    EXPECT_EQ(states[0x46].lastByte, 0x22);
    ASSERT_TRUE(bus.Write(0x46, Bytes{0x33}, {}));
    EXPECT_EQ(states[0x46].lastByte, 0x33);
    Bytes out(2);
    ASSERT_TRUE(bus.Read(0x46, out));
    EXPECT_EQ(out, (Bytes{0x33, 0x33}));
}

TEST_F(I2cBusTest, AbsentOrSilentDevicesDoNotAcknowledgeAndKeepTheirState) {
    Bytes out(2, 0);
    EXPECT_FALSE(bus.Write(0x10, Bytes{0x01}, Bytes{0x02}));
    EXPECT_FALSE(bus.Read(0x10, out));
    EXPECT_EQ(out, (Bytes{0xFF, 0xFF})) << "nothing drives the bus";

    settings[0x78].acknowledges = false;
    EXPECT_FALSE(bus.Write(0x78, Bytes{0x35, 0x03}, Bytes{0x07}));
    EXPECT_EQ(Reg(0x78, 0x3503), 0);
    ASSERT_FALSE(log.empty());
    EXPECT_FALSE(log.back().ack);
    EXPECT_EQ(states.count(0x10), 0u) << "no state appears for an absent device";
}

TEST_F(I2cBusTest, APortedTransferReachesOnlyTheDevicesOnThatPort) {
    settings[0x62].port = 2;
    EXPECT_FALSE(bus.Write(0x62, Bytes{0x04}, Bytes{0x0F}, 1));
    EXPECT_EQ(Reg(0x62, 0x04), 0);
    EXPECT_TRUE(bus.Write(0x62, Bytes{0x04}, Bytes{0x0F}, 2));
    Bytes out(1);
    EXPECT_FALSE(bus.ReadAt(0x62, Bytes{0x04}, out, 1));
    EXPECT_EQ(out[0], 0xFF);
    EXPECT_TRUE(bus.ReadAt(0x62, Bytes{0x04}, out)) << "paths that switch no port reach every device";
    EXPECT_EQ(out[0], 0x0F);
    EXPECT_TRUE(bus.Write(0x78, Bytes{0x35, 0x03}, Bytes{0x07}, 1)) << "a device on no port answers on both";
    EXPECT_TRUE(bus.Write(0x78, Bytes{0x35, 0x03}, Bytes{0x07}, 2));
}

}  // namespace
}  // namespace kv::sim
