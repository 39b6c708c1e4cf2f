// CDxWnd: the camera object. It binds one capture device at a time (the
// filter pair is the run's) and carries out the register, sensor and
// property operations on it.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ctrl/camera/DxCOM.h"
#include "ctrl/camera/SmiUtilityLibrary.h"
#include "ctrl/camera/Viewer.h"
#include "ctrl/common/LogFile.h"
#include "platform/CameraWalk.h"
#include "platform/Ports.h"

namespace kv::ctrl {

// The bound source filter and its IKsControl, shared by every camera object
// of a run: the most recent successful Device_Init decides which device all
// of them work on. The run context owns the program's pair and never
// releases it: releasing COM pointers after the main routine has
// uninitialised COM would call into unloaded servers.
struct FilterPair {
    std::shared_ptr<platform::Filter> baseFilter;
    std::shared_ptr<platform::KsControl> ksControl;
};

// One property range record: minimum, maximum, stepping delta, default,
// capability flags, current value, saved value.
struct RangeDataSet {
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t delta = 0;
    std::int32_t defaultValue = 0;
    std::int32_t flags = 0;
    std::int32_t current = 0;
    std::int32_t saved = 0;
};

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
    int Log(const std::string& text);
    void SetWindowHandle(void* window) {
        m_notifyWindow = window;
        m_viewer.stillCallback.SetWindow(window);
        m_viewer.frameCallback.SetWindow(window);
    }

    LogFile& logFile() { return m_logFile; }
    const std::vector<RangeDataSet>& ranges() const { return m_ranges; }
    SmiUtilityLibrary& smiUtility() { return m_smi; }

    // Binding (DxWnd.cpp).
    void Device_Uninit() override;
    int Device_Init(int vendorId, int productId, std::string deviceKey) override;

    // Bridge registers and the sensor behind its I2C engine (AsicSensor.cpp).
    int Asic_Write(int address, int value) override;
    int Asic_Read(int address, std::uint8_t* value) override;
    int Asic_ReadWriteTrace(int value, std::uint8_t* out) override;
    int Sensor_Write(int slave, int reg, unsigned value, int width) override;
    int Sensor_Read(int slave, int reg, std::uint16_t* value, int width) override;
    void Sensor21_Init() override;
    void Sensor21_Probe() override;

    // Driver and DirectShow properties (Properties.cpp).
    int KsProp_Set(int propertyId, int value) override;
    platform::HResult Camera_QueryRanges() override;
    platform::HResult VideoProcAmp_SetDefaults() override;
    void Image_Reset() override;

    // Sensors behind SMIUtility (SmiSensor.cpp).
    void SmiSensor810_Init() override;
    void SmiSensor812_Init() override;
    void SmiSensor_InitDone() override {}
    int SmiSensor810_Write(int reg, int value) override;
    int SmiSensor_WriteHex(int productId, const std::string& regText, const std::string& valueText) override;
    int SmiSensor_ReadHex(int productId, const std::string& regText, int* value) override;
    void SensorWindow_Set(int productId, int mode) override;

    // LED back-ends (LedGpio.cpp, LedLibraries.cpp) and the P809 tool
    // (P809Tool.cpp).
    int LedGpioA_Set(int mode) override;
    int LedGpioB_Set(int mode) override;
    int LedGpioC_Set(int mode) override;
    int LedGpioD_Set(int mode) override;
    int LedGpioE_Set(int mode) override;
    int LedKsProp_Set(int mode, int level) override;
    int LedKsProp_SetLevel(int level) override;
    int LedSmi810_Set(int mode) override;
    int LedSmi812_Set(int mode) override;
    int LedAsicLib_Set(int mode) override;
    int Gpio_SetPair(int lineA, int levelA, int lineB, int levelB) override;
    int P809_Read(const std::string& regText, const std::string& secondText) override;
    int P809_Write(const std::string& regText, const std::string& valueText) override;

    // Viewer: still pin and camera graph (ViewerStill.cpp), playback
    // (ViewerPlayback.cpp), formats, buffers and release (ViewerGraph.cpp).
    platform::HResult Device_PropertyPage(void* parentWindow) override;
    int Snapshot_Take(int formatIndex) override;
    int Graph_Release() override;
    int Format_Store(const void* bitmapInfoHeader) override;
    int Buffer_Alloc(void** buffer, int bytes) override;
    int Graph_Close() override;
    int Format_Find(int width, int height) override;
    std::uint8_t Format_ByteAt(int index) override;
    int Graph_IsRunning() override;
    int Media_Open(const std::string& fileName) override;
    int Media_StepBack() override;
    int Media_StepForward() override;
    int Media_Rewind() override;
    int Media_PlayPause() override;
    int Media_IsRunning() override;
    double Graph_FrameRate() override;
    int Usb_ListInit() override;
    int StillPin_Snapshot(platform::Filter* source) override;
    platform::HResult StillPin_Build(platform::Filter* source) override;
    // A hook for hosts whose cameras switch the still format; these do not.
    void StillPin_SelectFormat(int, int) override {}
    double Preview_FrameRate() override;

    // For a host that owns a window: the camera graph it built (no operation
    // of this program builds one), the frame sizes it found, the still's
    // file name, and whether preview frames are posted to the window.
    void SetCameraGraph(platform::CameraGraph graph);
    void AddFrameSize(int width, int height, std::uint8_t formatByte);
    void SetStillFileName(const std::string& fileName) { m_viewer.stillCallback.SetFileName(fileName); }
    void SetPreviewPosting(bool posting) { m_viewer.frameCallback.SetPosting(posting); }
    const ViewerState& viewer() const { return m_viewer; }
    ViewerState& viewer() { return m_viewer; }

protected:
    platform::Ports& m_ports;

private:
    bool FindAndBindOne(const platform::CameraDescriptor& device, const std::string& vendorText,
                        const std::string& deviceKey);
    int RunFamilyLoaders(const std::string& family);
    platform::HResult AsicRequest(std::uint32_t flags, std::array<std::uint8_t, 4>& block);
    bool I2cTransferSucceeds();
    int PauseForStep();
    std::int64_t StepLength() const;
    int StoreConnectedFormat(platform::SampleGrabber& grabber);
    int BuildPlaybackChain(const std::string& fileName);
    void ReadPlaybackPositions();
    void StartFrameStepping();

    FilterPair& m_filterPair;
    KeptLibraries& m_keptLibraries;
    void* m_notifyWindow = nullptr;
    std::vector<RangeDataSet> m_ranges{RangeDataSet{}};
    // Declared so that destruction releases the camera control before the
    // video processing amplifier, and the log file before both.
    std::shared_ptr<platform::RangedProperties> m_procAmp;
    std::shared_ptr<platform::RangedProperties> m_camCtrl;
    SmiUtilityLibrary m_smi;
    LogFile m_logFile;
    ViewerState m_viewer;
};

}  // namespace kv::ctrl
