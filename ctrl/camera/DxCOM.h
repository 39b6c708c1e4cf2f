// CDxCOM: the camera operations, in the order of the product's camera object
// (the console program reaches the camera only through these).
#pragma once

#include <cstdint>
#include <string>

#include "platform/CaptureDevices.h"
#include "platform/HResult.h"

namespace kv::ctrl {

// The unnamed slots of the product's table (empty bodies, or constant results
// for ignored arguments) are left out: nothing can call an operation that
// has no name. Results: 1 success, 0 failure, unless an HRESULT is named.
class CDxCOM {
public:
    virtual ~CDxCOM() = default;

    virtual void Device_Uninit() = 0;
    virtual platform::HResult Device_PropertyPage(void* parentWindow) = 0;
    virtual int Device_Init(int vendorId, int productId, std::string deviceKey) = 0;
    virtual int Snapshot_Take(int formatIndex) = 0;
    virtual int Graph_Release() = 0;
    virtual int Format_Store(const void* bitmapInfoHeader) = 0;
    virtual int Buffer_Alloc(void** buffer, int bytes) = 0;
    virtual int Graph_Close() = 0;
    virtual int Format_Find(int width, int height) = 0;
    virtual std::uint8_t Format_ByteAt(int index) = 0;
    virtual int Graph_IsRunning() = 0;
    virtual int Media_Open(const std::string& fileName) = 0;
    virtual int Media_StepBack() = 0;
    virtual int Media_StepForward() = 0;
    virtual int Media_Rewind() = 0;
    virtual int Media_PlayPause() = 0;
    virtual int Media_IsRunning() = 0;
    virtual double Graph_FrameRate() = 0;
    virtual platform::HResult Camera_QueryRanges() = 0;
    virtual int Usb_ListInit() = 0;
    virtual int LedGpioA_Set(int mode) = 0;
    virtual int LedGpioB_Set(int mode) = 0;
    virtual int LedGpioC_Set(int mode) = 0;
    virtual int LedGpioD_Set(int mode) = 0;
    virtual int LedGpioE_Set(int mode) = 0;
    virtual platform::HResult VideoProcAmp_SetDefaults() = 0;
    virtual void Image_Reset() = 0;
    virtual int LedKsProp_Set(int mode, int level) = 0;
    virtual int LedKsProp_SetLevel(int level) = 0;
    virtual int LedSmi810_Set(int mode) = 0;
    virtual void SensorWindow_Set(int productId, int mode) = 0;
    virtual int LedSmi812_Set(int mode) = 0;
    virtual int KsProp_Set(int propertyId, int value) = 0;
    virtual int LedAsicLib_Set(int mode) = 0;
    virtual int Gpio_SetPair(int lineA, int levelA, int lineB, int levelB) = 0;
    virtual int Asic_Write(int address, int value) = 0;
    virtual int Asic_Read(int address, std::uint8_t* value) = 0;
    virtual int Asic_ReadWriteTrace(int value, std::uint8_t* out) = 0;
    virtual int Sensor_Write(int slave, int reg, unsigned value, int width) = 0;
    virtual int Sensor_Read(int slave, int reg, std::uint16_t* value, int width) = 0;
    virtual int StillPin_Snapshot(platform::Filter* source) = 0;
    virtual platform::HResult StillPin_Build(platform::Filter* source) = 0;
    virtual void StillPin_SelectFormat(int format, int option) = 0;
    virtual double Preview_FrameRate() = 0;
    virtual void SmiSensor810_Init() = 0;
    virtual void SmiSensor812_Init() = 0;
    virtual void SmiSensor_InitDone() = 0;
    virtual int SmiSensor810_Write(int reg, int value) = 0;
    virtual int SmiSensor_WriteHex(int productId, const std::string& regText, const std::string& valueText) = 0;
    virtual int SmiSensor_ReadHex(int productId, const std::string& regText, int* value) = 0;
    virtual void Sensor21_Init() = 0;
    virtual void Sensor21_Probe() = 0;
    virtual int P809_Read(const std::string& regText, const std::string& secondText) = 0;
    virtual int P809_Write(const std::string& regText, const std::string& valueText) = 0;
};

}  // namespace kv::ctrl
