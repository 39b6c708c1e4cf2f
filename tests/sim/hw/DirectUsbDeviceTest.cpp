// Direct USB class requests of the 0x09B0 model onto the I2C bus.
#include <gtest/gtest.h>

#include "tests/sim/hw/HwTestSupport.h"
#include "wire/KsProperty.h"

namespace kv::sim::test {
namespace {

class DirectUsbDeviceTest : public ::testing::Test {
protected:
    DirectUsbDeviceTest() {
        cam.config.directUsb = true;
        cam.AddDevice(0x78);
        cam.AddDevice(0x62);
    }
    Answer Transfer(std::uint8_t type, std::uint8_t request, std::uint16_t value, ByteVector& buffer,
                    std::uint16_t index = 0x0300) {
        return cam.camera().UsbControl(UsbSetup{type, request, value, index, static_cast<std::uint16_t>(buffer.size())},
                                       buffer);
    }
    TestCamera cam;
};

TEST_F(DirectUsbDeviceTest, SensorWriteThenTwoStepRead) {
    ByteVector write{0x78, 0x3A, 0x1E, 0x26};
    const Answer written = Transfer(0x21, 0x01, 0x0300, write);
    ASSERT_EQ(written.hr, 0);
    EXPECT_EQ(written.bytesReturned, 4u);
    EXPECT_EQ(cam.state.i2cDevices[0x78].registers[0x3A1E], 0x26);

    ByteVector address{0x78, 0x3A, 0x1E};
    ASSERT_EQ(Transfer(0x21, 0x01, 0x0301, address).hr, 0);
    ByteVector in{0xFF};
    ASSERT_EQ(Transfer(0xA1, 0x81, 0x0301, in).hr, 0);
    EXPECT_EQ(in[0], 0x26);
    EXPECT_EQ(cam.records.back().op, "in");
}

TEST_F(DirectUsbDeviceTest, FlcWriteUsesAOneByteRegister) {
    ByteVector flc{0x62, 0x04, 0x0A};
    ASSERT_EQ(Transfer(0x21, 0x01, 0x0302, flc).hr, 0);
    EXPECT_EQ(cam.state.i2cDevices[0x62].registers[0x04], 0x0A);
}

TEST_F(DirectUsbDeviceTest, SetupPacketIsReadLittleEndian) {
    const std::array<std::uint8_t, 8> raw{0x21, 0x01, 0x02, 0x03, 0x00, 0x03, 0x03, 0x00};
    const UsbSetup setup = UsbSetup::FromBytes(raw);
    EXPECT_EQ(setup.value, 0x0302);
    EXPECT_EQ(setup.index, 0x0300);
    EXPECT_EQ(setup.length, 3);
}

TEST_F(DirectUsbDeviceTest, UnknownRequestsAndMissingDevicesStall) {
    ByteVector write{0x78, 0x3A, 0x1E, 0x26};
    EXPECT_EQ(Transfer(0x21, 0x01, 0x0300, write, 0x0200).hr, wire::kHrGenFailure) << "other unit";
    EXPECT_EQ(Transfer(0x21, 0x01, 0x0303, write).hr, wire::kHrGenFailure);
    ByteVector three{0x78, 0x3A, 0x1E};
    EXPECT_EQ(Transfer(0x21, 0x01, 0x0300, three).hr, wire::kHrGenFailure) << "wrong length";
    EXPECT_TRUE(cam.state.i2cDevices[0x78].registers.empty());

    ByteVector absent{0x48, 0x03, 0x80};
    EXPECT_EQ(Transfer(0x21, 0x01, 0x0301, absent).hr, wire::kHrGenFailure);
    ByteVector in{0xFF};
    const Answer read = Transfer(0xA1, 0x81, 0x0301, in);
    EXPECT_EQ(read.hr, wire::kHrGenFailure);
    EXPECT_EQ(read.bytesReturned, 0u);
    EXPECT_EQ(in[0], 0xFF) << "a failed read delivers nothing";

    ByteVector tooSmall(2);
    EXPECT_EQ(cam.camera().UsbControl(UsbSetup{0x21, 0x01, 0x0302, 0x0300, 3}, tooSmall).hr, wire::kHrGenFailure);
}

TEST_F(DirectUsbDeviceTest, CameraWithoutTheUsbPathStalls) {
    cam.config.directUsb = false;
    ByteVector flc{0x62, 0x04, 0x0A};
    EXPECT_EQ(Transfer(0x21, 0x01, 0x0302, flc).hr, wire::kHrGenFailure);
    EXPECT_TRUE(cam.state.i2cDevices.empty());
}

}  // namespace
}  // namespace kv::sim::test
