// The dispatch target over the real camera object, console, clock and
// per-model routines.
#include "ctrl/cli/CameraDispatcher.h"

#include "ctrl/cli/DispatchPasses.h"
#include "ctrl/models/BoundCameraOps.h"
#include "ctrl/models/ExposureSettings.h"
#include "ctrl/models/ModelRoutines.h"

namespace kv::ctrl {

namespace {

class CameraTarget : public DispatchTarget {
public:
    CameraTarget(CDxWnd& camera, platform::Ports& ports, ModelContext& context)
        : m_camera(camera), m_ports(ports), m_context(context) {}

    int Device_Init(int vendorId, int productId, std::string deviceKey) override {
        return m_camera.Device_Init(vendorId, productId, std::move(deviceKey));
    }
    void SetWindowHandle(std::uintptr_t handle) override { m_camera.SetWindowHandle(reinterpret_cast<void*>(handle)); }
    void Log(const std::string& text) override { m_camera.Log(text); }
    void Print(const std::string& line) override { m_ports.console.WriteLine(line); }
    int Sensor_Write(int slave, int reg, unsigned value, int width) override {
        return m_camera.Sensor_Write(slave, reg, value, width);
    }
    int Sensor_Read(int slave, int reg, std::uint16_t* value, int width) override {
        return m_camera.Sensor_Read(slave, reg, value, width);
    }
    void Sleep(unsigned milliseconds) override { m_ports.clock.Sleep(milliseconds); }

    void TurnLed1OnByModel(int productId) override {
        auto ops = LedOps(productId);
        ctrl::TurnLed1OnByModel(productId, ops, m_context.counters.FlcUseCount(LedDev()));
    }
    void TurnLed2OnByModel(int productId) override {
        auto ops = LedOps(productId);
        ctrl::TurnLed2OnByModel(productId, ops, m_context.counters.FlcUseCount(LedDev()));
    }
    void TurnLedOffByModel(int productId) override {
        auto ops = LedOps(productId);
        ctrl::TurnLedOffByModel(productId, ops, m_context.counters.FlcUseCount(LedDev()));
    }
    void SetAntiFlickerByModel(int productId, int mode, int dev) override {
        BoundCameraOps ops(m_context, m_camera, productId, dev);
        ctrl::SetAntiFlickerByModel(productId, ops, mode);
    }
    void SetFlcSwitch(int dev, int productId, int value) override {
        BoundCameraOps ops(m_context, m_camera, productId, dev);
        ctrl::SetFlcSwitch(ops, m_context.counters.FlcUseCount(dev), value);
    }
    void SetFlcLevel(int dev, int productId, int value) override {
        BoundCameraOps ops(m_context, m_camera, productId, dev);
        ctrl::SetFlcLevel(ops, m_context.counters.FlcUseCount(dev), value);
    }
    void InitByModel(int productId, int dev) override {
        BoundCameraOps ops(m_context, m_camera, productId, dev);
        ctrl::InitByModel(productId, ops);
    }
    void SetAutoExposureByModel(int on, int productId, int dev) override {
        BoundCameraOps ops(m_context, m_camera, productId, dev);
        ctrl::SetAutoExposureByModel(on, productId, ops);
    }
    void SetExposureValueByModel(int value, int dev, int productId) override {
        BoundCameraOps ops(m_context, m_camera, productId, dev);
        ctrl::SetExposureValueByModel(value, productId, ops);
    }
    void SaveExposureSettings(int dev, int productId) override {
        ctrl::SaveExposureSettings(m_context, dev, m_camera, productId);
    }
    void LoadExposureSettings(int dev, int productId) override {
        ctrl::LoadExposureSettings(m_context, dev, m_camera, productId);
    }
    void OpenDirectUsbDevice() override { m_context.directUsb.OpenDirectUsbDevice(m_context.counters.m_strSelDevice); }
    bool LacksOnThisPlatform(int cameraNumber, int productId, const ModelOperations& operations, bool bound) override {
        const unsigned needs = OutsideNeedsOf(productId, operations);
        OutsideNeed unmet = kNeedsNothing;
        if (!bound) {
            unmet = UnloadableLibrary(needs, m_ports.modules);
        } else if ((needs & kNeedsDriverPropertySet) != 0 && m_camera.PlatformLacksDriverPropertySet()) {
            unmet = kNeedsDriverPropertySet;
        }
        if (unmet == kNeedsNothing) return false;
        m_ports.console.WriteErrorLine(UnmetNeedLine(cameraNumber, productId, unmet));
        return true;
    }

private:
    // The LED routines get no index of their own: the camera's position
    // less the cameras counted outside the library's family.
    int LedDev() const { return m_context.counters.ii - m_context.counters.m_notzelmar; }
    BoundCameraOps LedOps(int productId) { return BoundCameraOps(m_context, m_camera, productId, LedDev()); }

    CDxWnd& m_camera;
    platform::Ports& m_ports;
    ModelContext& m_context;
};

}  // namespace

void CameraDispatcher::Dispatch(const ParsedCommand& command, const CameraTable& table, CDxWnd& camera) {
    ModelContext context{m_ports, m_counters, m_directUsb};
    CameraTarget target(camera, m_ports, context);
    DispatchCommand(command, table, target, context.counters);
}

}  // namespace kv::ctrl
