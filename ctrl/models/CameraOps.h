// What the model tables do to one camera: the register paths, the LED
// back-ends and the FLC controller's transfers, named as the tables name
// them. BoundCameraOps carries them out on the bound camera; the tests
// record them.
#pragma once

#include <array>
#include <cstdint>

namespace kv::ctrl {

enum class GpioLed { A, B, C, D, E };
enum class LibraryLed { Smi810, Smi812, AsicLib };
enum class BridgeLed { Bit0, Bits02, Bit2, F2F3 };

class CameraOps {
public:
    virtual ~CameraOps() = default;

    // Sensor at I2C device 0x78 / 0x48 through the register library, one byte
    // at a 16-bit register; a failed read gives 0.
    virtual int R78(int reg) = 0;
    virtual void W78(int reg, int value) = 0;
    virtual int R48(int reg) = 0;
    virtual void W48(int reg, int value) = 0;
    // The same sensor at 0x78 through the direct USB path.
    virtual int UR(int reg) = 0;
    virtual void U(int reg, int value) = 0;
    // The bridge's I2C engine (width in bytes); a failed read gives 0.
    virtual int SR(int slave, int reg, int width) = 0;
    virtual void S(int slave, int reg, unsigned value, int width) = 0;
    // Bridge register of the register library, one byte: false when the read
    // failed.
    virtual bool BridgeRead(int reg, int& value) = 0;
    virtual void BridgeWrite(int reg, int value) = 0;
    // SMIUtility's sensor writes: by product id, and by product id and the
    // camera's position.
    virtual void SMI(int reg, int value) = 0;
    virtual void SMIX(int reg, int value) = 0;
    // The camera driver's own property.
    virtual void P(int id, int value) = 0;
    virtual void Pause(unsigned milliseconds) = 0;

    virtual void LedGpio(GpioLed pattern, int mode) = 0;
    virtual void LedLibrary(LibraryLed library, int mode) = 0;
    virtual void LedKsProp(int mode, int level) = 0;
    virtual void LedBridge(BridgeLed helper, int mode) = 0;

    // The FLC LED controller and INIT's transfers.
    virtual bool WriteFlcRegister(int reg, int value) = 0;
    // Extended command 0xF0 with a 32-byte block; the library's result.
    virtual int ExtendedWrite(const std::array<std::uint8_t, 32>& block) = 0;
    // I2C port 2 of the register library; then one-byte transfers on it: the
    // read gives 0 when it fails, the write whether it succeeded.
    virtual void SelectI2cPort() = 0;
    virtual int I2cReadByte(int slave, std::uint8_t addressHigh, std::uint8_t addressLow) = 0;
    virtual bool I2cWriteByte(int slave, std::uint8_t value) = 0;
};

}  // namespace kv::ctrl
