// CDxWnd: the camera object, the face with the product's operation names.
// It binds one capture device at a time (the filter pair is the run's) and
// hands each operation to the part that does that job: binding, bridge and
// sensor access, driver properties, the SMIUtility sensors, the LED
// back-ends, the P809 tool and the viewer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ctrl/camera/BridgeAccess.h"
#include "ctrl/camera/CameraBinding.h"
#include "ctrl/camera/CameraLog.h"
#include "ctrl/camera/DeviceProperties.h"
#include "ctrl/camera/DxCOM.h"
#include "ctrl/camera/FilterPair.h"
#include "ctrl/camera/LedBackEnds.h"
#include "ctrl/camera/P809Tool.h"
#include "ctrl/camera/SmiSensors.h"
#include "ctrl/camera/SmiUtilityLibrary.h"
#include "ctrl/camera/Viewer.h"
#include "platform/Ports.h"

namespace kv::ctrl {

class CDxWnd : public CDxCOM {
public:
    // `keptLibraries` takes SMIUtility when the object goes: the device
    // object created in it is never destroyed.
    CDxWnd(platform::Ports& ports, FilterPair& filterPair, KeptLibraries& keptLibraries);
    ~CDxWnd() override;
    CDxWnd(const CDxWnd&) = delete;
    CDxWnd& operator=(const CDxWnd&) = delete;

    // Writes one line to KV_DS_LOG.txt when "/d" (any case) is on the command
    // line; otherwise does nothing. Always returns 1.
    int Log(const std::string& text) { return m_log.Log(text); }
    void SetWindowHandle(void* window) { m_viewer.SetWindow(window); }

    LogFile& logFile() { return m_log.file(); }
    const std::vector<RangeDataSet>& ranges() const { return m_properties.ranges(); }
    SmiUtilityLibrary& smiUtility() { return m_smi; }

    // Binding.
    void Device_Uninit() override;
    int Device_Init(int vendorId, int productId, std::string deviceKey) override {
        return m_binding.Device_Init(vendorId, productId, std::move(deviceKey));
    }

    // Bridge registers and the sensor behind its I2C engine.
    int Asic_Write(int address, int value) override { return m_bridge.Asic_Write(address, value); }
    int Asic_Read(int address, std::uint8_t* value) override { return m_bridge.Asic_Read(address, value); }
    int Asic_ReadWriteTrace(int value, std::uint8_t* out) override { return m_bridge.Asic_ReadWriteTrace(value, out); }
    int Sensor_Write(int slave, int reg, unsigned value, int width) override {
        return m_bridge.Sensor_Write(slave, reg, value, width);
    }
    int Sensor_Read(int slave, int reg, std::uint16_t* value, int width) override {
        return m_bridge.Sensor_Read(slave, reg, value, width);
    }
    void Sensor21_Init() override { m_bridge.Sensor21_Init(); }
    void Sensor21_Probe() override { m_bridge.Sensor21_Probe(); }

    // Driver and DirectShow properties.
    int KsProp_Set(int propertyId, int value) override { return m_properties.KsProp_Set(propertyId, value); }
    bool PlatformLacksDriverPropertySet() const { return m_properties.PlatformLacksDriverPropertySet(); }
    platform::HResult Camera_QueryRanges() override { return m_properties.Camera_QueryRanges(); }
    platform::HResult VideoProcAmp_SetDefaults() override { return m_properties.VideoProcAmp_SetDefaults(); }
    void Image_Reset() override { VideoProcAmp_SetDefaults(); }

    // Sensors behind SMIUtility.
    void SmiSensor810_Init() override;
    void SmiSensor812_Init() override;
    void SmiSensor_InitDone() override {}
    int SmiSensor810_Write(int reg, int value) override { return m_smiSensors.SmiSensor810_Write(reg, value); }
    int SmiSensor_WriteHex(int productId, const std::string& regText, const std::string& valueText) override {
        return m_smiSensors.SmiSensor_WriteHex(productId, regText, valueText);
    }
    int SmiSensor_ReadHex(int productId, const std::string& regText, int* value) override {
        return m_smiSensors.SmiSensor_ReadHex(productId, regText, value);
    }
    void SensorWindow_Set(int productId, int mode) override { m_smiSensors.SensorWindow_Set(productId, mode); }

    // LED back-ends and the P809 tool.
    int LedGpioA_Set(int mode) override { return m_leds.LedGpioA_Set(mode); }
    int LedGpioB_Set(int mode) override { return m_leds.LedGpioB_Set(mode); }
    int LedGpioC_Set(int mode) override { return m_leds.LedGpioC_Set(mode); }
    int LedGpioD_Set(int mode) override { return m_leds.LedGpioD_Set(mode); }
    int LedGpioE_Set(int mode) override { return m_leds.LedGpioE_Set(mode); }
    int LedKsProp_Set(int mode, int level) override { return m_leds.LedKsProp_Set(mode, level); }
    int LedKsProp_SetLevel(int level) override { return m_leds.LedKsProp_SetLevel(level); }
    int LedSmi810_Set(int mode) override { return m_leds.LedSmi810_Set(mode); }
    int LedSmi812_Set(int mode) override { return m_leds.LedSmi812_Set(mode); }
    int LedAsicLib_Set(int mode) override { return m_leds.LedAsicLib_Set(mode); }
    int Gpio_SetPair(int lineA, int levelA, int lineB, int levelB) override {
        return m_leds.Gpio_SetPair(lineA, levelA, lineB, levelB);
    }
    int P809_Read(const std::string& regText, const std::string& secondText) override {
        return m_p809.P809_Read(regText, secondText);
    }
    int P809_Write(const std::string& regText, const std::string& valueText) override {
        return m_p809.P809_Write(regText, valueText);
    }

    // Viewer.
    platform::HResult Device_PropertyPage(void* parentWindow) override {
        return m_viewer.Device_PropertyPage(parentWindow);
    }
    int Snapshot_Take(int formatIndex) override;
    int Graph_Release() override { return m_viewer.Graph_Release(); }
    int Format_Store(const void* bitmapInfoHeader) override { return m_viewer.Format_Store(bitmapInfoHeader); }
    int Buffer_Alloc(void** buffer, int bytes) override { return m_viewer.Buffer_Alloc(buffer, bytes); }
    int Graph_Close() override { return Graph_Release(); }
    int Format_Find(int width, int height) override { return m_viewer.Format_Find(width, height); }
    std::uint8_t Format_ByteAt(int index) override { return m_viewer.Format_ByteAt(index); }
    int Graph_IsRunning() override { return m_viewer.Graph_IsRunning(); }
    int Media_Open(const std::string& fileName) override { return m_viewer.Media_Open(fileName); }
    int Media_StepBack() override { return m_viewer.Media_StepBack(); }
    int Media_StepForward() override { return m_viewer.Media_StepForward(); }
    int Media_Rewind() override { return m_viewer.Media_Rewind(); }
    int Media_PlayPause() override { return m_viewer.Media_PlayPause(); }
    int Media_IsRunning() override { return m_viewer.Media_IsRunning(); }
    double Graph_FrameRate() override { return m_viewer.Graph_FrameRate(); }
    int Usb_ListInit() override { return m_viewer.Usb_ListInit(); }
    int StillPin_Snapshot(platform::Filter* source) override { return m_viewer.StillPin_Snapshot(source); }
    platform::HResult StillPin_Build(platform::Filter* source) override { return m_viewer.StillPin_Build(source); }
    // A hook for hosts whose cameras switch the still format; these do not.
    void StillPin_SelectFormat(int, int) override {}
    double Preview_FrameRate() override { return m_viewer.Preview_FrameRate(); }

    // For a host that owns a window: the camera graph it built (no operation
    // of this program builds one), the frame sizes it found, the still's
    // file name, and whether preview frames are posted to the window.
    void SetCameraGraph(platform::CameraGraph graph) { m_viewer.SetCameraGraph(std::move(graph)); }
    void AddFrameSize(int width, int height, std::uint8_t formatByte) {
        m_viewer.AddFrameSize(width, height, formatByte);
    }
    void SetStillFileName(const std::string& fileName) { m_viewer.SetStillFileName(fileName); }
    void SetPreviewPosting(bool posting) { m_viewer.SetPreviewPosting(posting); }
    const ViewerState& viewer() const { return m_viewer.state(); }
    ViewerState& viewer() { return m_viewer.state(); }

protected:
    platform::Ports& m_ports;

private:
    KeptLibraries& m_keptLibraries;
    // Declared so that destruction ends the viewer's graphs first, then the
    // log file, SMIUtility's binding, and the property interfaces (the
    // camera control before the video processing amplifier) last.
    DeviceProperties m_properties;
    SmiUtilityLibrary m_smi;
    CameraLog m_log;
    CameraViewer m_viewer;
    // The parts that own nothing but their references.
    CameraBinding m_binding;
    BridgeAccess m_bridge;
    SmiSensors m_smiSensors;
    LedBackEnds m_leds;
    P809Tool m_p809;
};

}  // namespace kv::ctrl
