// The model tables' operations on the bound camera.
#include "ctrl/models/BoundCameraOps.h"

#include "ctrl/camera/DxWnd.h"
#include "ctrl/camera/XuI2c.h"
#include "ctrl/camera/XuLed.h"
#include "ctrl/models/DirectUsbPath.h"
#include "ctrl/xulib/XuLib.h"

namespace kv::ctrl {

int BoundCameraOps::R78(int reg) { return XuI2c_Read120(reg, m_dev); }
void BoundCameraOps::W78(int reg, int value) { XuI2c_Write120(reg, value, m_dev); }
int BoundCameraOps::R48(int reg) { return XuI2c_Read72(reg, m_dev); }
void BoundCameraOps::W48(int reg, int value) { XuI2c_Write72(reg, value, m_dev); }

int BoundCameraOps::UR(int reg) { return m_context.directUsb.UsbKReadSensorRegister(static_cast<std::uint16_t>(reg)); }
void BoundCameraOps::U(int reg, int value) {
    m_context.directUsb.UsbKWriteSensorRegister(static_cast<std::uint8_t>(value), static_cast<std::uint16_t>(reg));
}

int BoundCameraOps::SR(int slave, int reg, int width) {
    std::uint16_t value = 0;
    return m_camera.Sensor_Read(slave, reg, &value, width) ? value : 0;
}
void BoundCameraOps::S(int slave, int reg, unsigned value, int width) {
    m_camera.Sensor_Write(slave, reg, value, width);
}

bool BoundCameraOps::BridgeRead(int reg, int& value) {
    std::int32_t read = 0;
    if (platform::Failed(xulib_RegRead(m_dev, reg, 1, &read))) return false;
    value = read;
    return true;
}
void BoundCameraOps::BridgeWrite(int reg, int value) {
    const std::int32_t written = value;
    xulib_RegWrite(m_dev, reg, 1, &written);
}

void BoundCameraOps::SMI(int reg, int value) {
    m_camera.smiUtility().SetSensorRegisterByVidPid(reg, value, m_productId);
}
void BoundCameraOps::SMIX(int reg, int value) {
    m_camera.smiUtility().SetSensorRegisterByVidPidIdx(reg, value, m_productId, m_context.counters.ii);
}
void BoundCameraOps::P(int id, int value) { m_camera.KsProp_Set(id, value); }
void BoundCameraOps::Pause(unsigned milliseconds) { m_context.ports.clock.Sleep(milliseconds); }

void BoundCameraOps::LedGpio(GpioLed pattern, int mode) {
    switch (pattern) {
    case GpioLed::A:
        m_camera.LedGpioA_Set(mode);
        break;
    case GpioLed::B:
        m_camera.LedGpioB_Set(mode);
        break;
    case GpioLed::C:
        m_camera.LedGpioC_Set(mode);
        break;
    case GpioLed::D:
        m_camera.LedGpioD_Set(mode);
        break;
    case GpioLed::E:
        m_camera.LedGpioE_Set(mode);
        break;
    }
}

void BoundCameraOps::LedLibrary(LibraryLed library, int mode) {
    switch (library) {
    case LibraryLed::Smi810:
        m_camera.LedSmi810_Set(mode);
        break;
    case LibraryLed::Smi812:
        m_camera.LedSmi812_Set(mode);
        break;
    case LibraryLed::AsicLib:
        m_camera.LedAsicLib_Set(mode);
        break;
    }
}

void BoundCameraOps::LedKsProp(int mode, int level) { m_camera.LedKsProp_Set(mode, level); }

void BoundCameraOps::LedBridge(BridgeLed helper, int mode) {
    switch (helper) {
    case BridgeLed::Bit0:
        XuLed_SetBit0(mode, m_dev);
        break;
    case BridgeLed::Bits02:
        XuLed_SetBits02(mode, m_dev);
        break;
    case BridgeLed::Bit2:
        XuLed_SetBit2(mode, m_dev);
        break;
    case BridgeLed::F2F3:
        XuLed_F2F3(mode, m_dev);
        break;
    }
}

bool BoundCameraOps::WriteFlcRegister(int reg, int value) {
    return m_context.directUsb.WriteFlcRegister(static_cast<std::uint8_t>(reg), static_cast<std::uint8_t>(value),
                                                m_productId, m_dev);
}

int BoundCameraOps::ExtendedWrite(const std::array<std::uint8_t, 32>& block) {
    constexpr int kExtendedCommand = 0xF0;
    std::array<std::uint8_t, 32> data = block;
    return xulib_AveoExWrite(m_dev, kExtendedCommand, data.data());
}

void BoundCameraOps::SelectI2cPort() { xulib_SelectI2cPort(m_dev, 2, 0); }

int BoundCameraOps::I2cReadByte(int slave, std::uint8_t addressHigh, std::uint8_t addressLow) {
    std::uint8_t address[2] = {addressHigh, addressLow};
    std::uint8_t value = 0;
    if (platform::Failed(xulib_I2cRead(m_dev, slave, 2, address, 1, &value))) return 0;
    return value;
}

bool BoundCameraOps::I2cWriteByte(int slave, std::uint8_t value) {
    return platform::Succeeded(xulib_I2cWrite(m_dev, slave, 0, nullptr, 1, &value));
}

}  // namespace kv::ctrl
