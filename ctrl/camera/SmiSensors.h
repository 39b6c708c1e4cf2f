// The sensors of the SMIUtility cameras (product ids 0x810-0x813), reached
// through the library's sensor-register entry points.
#pragma once

#include <string>

#include "ctrl/camera/SmiUtilityLibrary.h"

namespace kv::ctrl {

class SmiSensors {
public:
    explicit SmiSensors(SmiUtilityLibrary& smi) : m_smi(smi) {}

    // The sensor's start-up table, on the camera of this product id.
    void WriteInitTable(int productId);
    int SmiSensor810_Write(int reg, int value);
    int SmiSensor_WriteHex(int productId, const std::string& regText, const std::string& valueText);
    int SmiSensor_ReadHex(int productId, const std::string& regText, int* value);
    void SensorWindow_Set(int productId, int mode);

private:
    SmiUtilityLibrary& m_smi;
};

}  // namespace kv::ctrl
