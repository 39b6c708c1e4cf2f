// The LED back-ends: LED sets wired to general-purpose lines of the bridge
// chip (patterns A to E), switched through a camera driver property, through
// the GPIO ports of SMIUtility, or through ClientPropertyPageLIB's bridge
// access.
#pragma once

#include "ctrl/camera/BridgeAccess.h"
#include "ctrl/camera/CameraLog.h"
#include "ctrl/camera/DeviceProperties.h"
#include "ctrl/camera/SmiUtilityLibrary.h"

namespace kv::ctrl {

class LedBackEnds {
public:
    LedBackEnds(platform::Ports& ports, FilterPair& filterPair, BridgeAccess& bridge, DeviceProperties& properties,
                SmiUtilityLibrary& smi, CameraLog& log)
        : m_ports(ports),
          m_filterPair(filterPair),
          m_bridge(bridge),
          m_properties(properties),
          m_smi(smi),
          m_log(log) {}

    // Bridge GPIO lines (LedGpio.cpp). mode 0, 1 or 2; anything else changes
    // nothing.
    int LedGpioA_Set(int mode);
    int LedGpioB_Set(int mode);
    int LedGpioC_Set(int mode);
    int LedGpioD_Set(int mode);
    int LedGpioE_Set(int mode);
    int Gpio_SetPair(int lineA, int levelA, int lineB, int levelB);

    // The driver property, SMIUtility's ports and ClientPropertyPageLIB
    // (LedLibraries.cpp).
    int LedKsProp_Set(int mode, int level);
    int LedKsProp_SetLevel(int level);
    int LedSmi810_Set(int mode);
    int LedSmi812_Set(int mode);
    int LedAsicLib_Set(int mode);

private:
    platform::Ports& m_ports;
    FilterPair& m_filterPair;
    BridgeAccess& m_bridge;
    DeviceProperties& m_properties;
    SmiUtilityLibrary& m_smi;
    CameraLog& m_log;
};

}  // namespace kv::ctrl
