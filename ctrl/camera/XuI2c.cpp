// The four one-byte sensor helpers on the vendor register library: I2C port
// 2, the register as two address bytes, high byte first.
#include "ctrl/camera/XuI2c.h"

#include "ctrl/xulib/XuLib.h"

namespace kv::ctrl {

namespace {

constexpr int kSlave72 = 0x48;
constexpr int kSlave120 = 0x78;

int ReadByte(int slave, int reg, int device) {
    xulib_SelectI2cPort(device, 2, 0);
    std::uint8_t address[2] = {static_cast<std::uint8_t>(reg >> 8), static_cast<std::uint8_t>(reg)};
    std::uint8_t data = 0;
    if (platform::Failed(xulib_I2cRead(device, slave, 2, address, 1, &data))) return 0;
    return data;
}

int WriteByte(int slave, int reg, int value, int device) {
    xulib_SelectI2cPort(device, 2, 0);
    std::uint8_t address[2] = {static_cast<std::uint8_t>(reg >> 8), static_cast<std::uint8_t>(reg)};
    const std::uint8_t data = static_cast<std::uint8_t>(value);
    static_cast<void>(xulib_I2cWrite(device, slave, 2, address, 1, &data));
    return 0;
}

}  // namespace

int XuI2c_Read72(int reg, int device) { return ReadByte(kSlave72, reg, device); }
int XuI2c_Read120(int reg, int device) { return ReadByte(kSlave120, reg, device); }
int XuI2c_Write72(int reg, int value, int device) { return WriteByte(kSlave72, reg, value, device); }
int XuI2c_Write120(int reg, int value, int device) { return WriteByte(kSlave120, reg, value, device); }

}  // namespace kv::ctrl
