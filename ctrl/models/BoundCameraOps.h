// The model tables' operations carried out on the bound camera: its camera
// object, the register library under its index, the direct USB path and the
// program's clock.
#pragma once

#include "ctrl/models/CameraOps.h"
#include "ctrl/models/ModelContext.h"

namespace kv::ctrl {

class CDxWnd;

class BoundCameraOps : public CameraOps {
public:
    BoundCameraOps(ModelContext& context, CDxWnd& camera, int productId, int dev)
        : m_context(context), m_camera(camera), m_productId(productId), m_dev(dev) {}

    int R78(int reg) override;
    void W78(int reg, int value) override;
    int R48(int reg) override;
    void W48(int reg, int value) override;
    int UR(int reg) override;
    void U(int reg, int value) override;
    int SR(int slave, int reg, int width) override;
    void S(int slave, int reg, unsigned value, int width) override;
    bool BridgeRead(int reg, int& value) override;
    void BridgeWrite(int reg, int value) override;
    void SMI(int reg, int value) override;
    void SMIX(int reg, int value) override;
    void P(int id, int value) override;
    void Pause(unsigned milliseconds) override;

    void LedGpio(GpioLed pattern, int mode) override;
    void LedLibrary(LibraryLed library, int mode) override;
    void LedKsProp(int mode, int level) override;
    void LedBridge(BridgeLed helper, int mode) override;

    bool WriteFlcRegister(int reg, int value) override;
    int ExtendedWrite(const std::array<std::uint8_t, 32>& block) override;
    void SelectI2cPort() override;
    int I2cReadByte(int slave, std::uint8_t addressHigh, std::uint8_t addressLow) override;
    bool I2cWriteByte(int slave, std::uint8_t value) override;

private:
    ModelContext& m_context;
    CDxWnd& m_camera;
    int m_productId;
    int m_dev;
};

}  // namespace kv::ctrl
