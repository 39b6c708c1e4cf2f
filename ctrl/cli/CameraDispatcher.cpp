// The dispatch target over the real camera object, console, clock and
// per-model routines.
#include "ctrl/cli/CameraDispatcher.h"

#include "ctrl/cli/CameraDispatch.h"
#include "ctrl/models/ModelRoutines.h"

namespace kv::ctrl {

namespace {

class CameraTarget : public DispatchTarget {
public:
    CameraTarget(CDxWnd& camera, platform::Ports& ports) : m_camera(camera), m_ports(ports) {}

    int Device_Init(int vendorId, int productId, std::string deviceKey) override {
        return m_camera.Device_Init(vendorId, productId, std::move(deviceKey));
    }
    void SetWindowHandle(std::uintptr_t handle) override {
        m_camera.SetWindowHandle(reinterpret_cast<void*>(handle));
    }
    void Log(const std::string& text) override { m_camera.Log(text); }
    void Print(const std::string& line) override { m_ports.console.WriteLine(line); }
    int Sensor_Write(int slave, int reg, unsigned value, int width) override {
        return m_camera.Sensor_Write(slave, reg, value, width);
    }
    int Sensor_Read(int slave, int reg, std::uint16_t* value, int width) override {
        return m_camera.Sensor_Read(slave, reg, value, width);
    }
    void Sleep(unsigned milliseconds) override { m_ports.clock.Sleep(milliseconds); }

    void TurnLed1OnByModel(int productId) override { ctrl::TurnLed1OnByModel(productId, m_camera); }
    void TurnLed2OnByModel(int productId) override { ctrl::TurnLed2OnByModel(productId, m_camera); }
    void TurnLedOffByModel(int productId) override { ctrl::TurnLedOffByModel(productId, m_camera); }
    void SetAntiFlickerByModel(int productId, int mode) override { ctrl::SetAntiFlickerByModel(productId, m_camera, mode); }
    void SetFlcSwitch(int dev, int productId, int value) override { ctrl::SetFlcSwitch(dev, productId, value); }
    void SetFlcLevel(int dev, int productId, int value) override { ctrl::SetFlcLevel(dev, productId, value); }
    void InitByModel(int productId, int dev) override { ctrl::InitByModel(productId, dev); }
    void SetAutoExposureByModel(int on, int productId, int dev) override {
        ctrl::SetAutoExposureByModel(on, productId, m_camera, dev);
    }
    void SetExposureValueByModel(int value, int dev, int productId) override {
        ctrl::SetExposureValueByModel(value, dev, m_camera, productId);
    }
    void SaveExposureSettings(int dev, int productId) override { ctrl::SaveExposureSettings(dev, m_camera, productId); }
    void LoadExposureSettings(int dev, int productId) override { ctrl::LoadExposureSettings(dev, m_camera, productId); }
    void OpenDirectUsbDevice() override { ctrl::OpenDirectUsbDevice(); }

private:
    CDxWnd& m_camera;
    platform::Ports& m_ports;
};

}  // namespace

void CameraDispatcher::Dispatch(const ParsedCommand& command, const CameraTable& table, CDxWnd& camera) {
    CameraTarget target(camera, m_ports);
    DispatchCommand(command, table, target, ProcessCounters());
}

}  // namespace kv::ctrl
