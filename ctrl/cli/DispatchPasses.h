// Carrying a parsed command out on the cameras of the table: the order and
// black-bar pre-passes, the all-cameras and single-camera modes, the order
// of the commands and the pauses between them, and the index by which each
// camera is known to the register library ("dev").
#pragma once

#include <cstdint>
#include <string>

#include "ctrl/cli/CameraTable.h"
#include "ctrl/cli/CommandLine.h"
#include "ctrl/models/OutsideNeeds.h"
#include "ctrl/models/RunCounters.h"

namespace kv::ctrl {

// What the dispatcher drives: the bound camera object and the per-model
// routines. Results are not examined except Device_Init's.
class DispatchTarget {
public:
    virtual ~DispatchTarget() = default;
    virtual int Device_Init(int vendorId, int productId, std::string deviceKey) = 0;
    virtual void SetWindowHandle(std::uintptr_t handle) = 0;
    virtual void Log(const std::string& text) = 0;
    // One line on standard output.
    virtual void Print(const std::string& line) = 0;
    virtual int Sensor_Write(int slave, int reg, unsigned value, int width) = 0;
    virtual int Sensor_Read(int slave, int reg, std::uint16_t* value, int width) = 0;
    virtual void Sleep(unsigned milliseconds) = 0;

    virtual void TurnLed1OnByModel(int productId) = 0;
    virtual void TurnLed2OnByModel(int productId) = 0;
    virtual void TurnLedOffByModel(int productId) = 0;
    // mode 1: 60 Hz, 2: 50 Hz, 0: off.
    virtual void SetAntiFlickerByModel(int productId, int mode, int dev) = 0;
    virtual void SetFlcSwitch(int dev, int productId, int value) = 0;
    virtual void SetFlcLevel(int dev, int productId, int value) = 0;
    virtual void InitByModel(int productId, int dev) = 0;
    virtual void SetAutoExposureByModel(int on, int productId, int dev) = 0;
    virtual void SetExposureValueByModel(int value, int dev, int productId) = 0;
    virtual void SaveExposureSettings(int dev, int productId) = 0;
    virtual void LoadExposureSettings(int dev, int productId) = 0;
    virtual void OpenDirectUsbDevice() = 0;
    // Whether this platform lacks what the operations need on this model (an
    // outside Windows library, asked before the camera is bound; the camera
    // driver's own property set, asked once it is bound). When so, the target
    // has told it in one line and the dispatcher leaves the camera alone.
    virtual bool LacksOnThisPlatform(int /*cameraNumber*/, int /*productId*/, const ModelOperations& /*operations*/,
                                     bool /*bound*/) {
        return false;
    }
};

constexpr int kKorvexVendorId = 0xA168;

// One run's dispatch; `counters` start as the main routine left them.
void DispatchCommand(const ParsedCommand& command, const CameraTable& table, DispatchTarget& target,
                     DispatchCounters& counters);

}  // namespace kv::ctrl
