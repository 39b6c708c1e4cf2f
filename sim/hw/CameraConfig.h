// The static description of one simulated camera: which units and paths it
// has, its topology, property ranges, bus devices and injected faults.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/HResult.h"
#include "platform/Guid.h"
#include "sim/hw/I2cTypes.h"

namespace kv::sim {

struct ExtensionUnitSettings {
    bool present = false;
    std::uint32_t node = 0;
};

// One IAMVideoProcAmp / IAMCameraControl property range.
struct PropertyRange {
    std::int32_t min = 0;
    std::int32_t max = 0;
    std::int32_t step = 1;
    std::int32_t def = 0;
    std::int32_t caps = 2;  // 1 auto, 2 manual
};

// A request that fails, or hangs before it answers. Matches requests by path,
// and optionally by operation and id (property id, control selector, wValue,
// register or port).
struct InjectedFault {
    std::string path;
    std::optional<std::string> op;
    std::optional<std::uint32_t> id;
    bool hang = false;
    std::uint32_t hangMs = 0;
    // Failure code; for a hang, set only when the request fails after it.
    std::optional<platform::HResult> hr;
};

struct CameraConfig {
    std::uint16_t vendorId = 0xA168;
    std::uint16_t productId = 0;

    ExtensionUnitSettings bridgeXu;
    ExtensionUnitSettings pluginXu;
    ExtensionUnitSettings aveoXu;
    std::vector<platform::Guid> nodeTypes;  // topology: one type per node

    bool driverProperties = false;
    std::set<std::uint32_t> driverPropertyIds;
    std::map<std::int32_t, PropertyRange> videoProcAmp;
    std::map<std::int32_t, PropertyRange> cameraControl;

    std::map<std::uint8_t, I2cDeviceSettings> i2cDevices;
    std::uint32_t engineBusyReads = 0;  // status reads that answer busy after a start
    std::uint8_t engineStatusBits = 0;  // added to the engine's finished status (not 0x01, 0x04, 0x08)

    bool directUsb = false;
    bool smi = false;
    std::uint8_t smiSensor = 0x78;  // bus address of the sensor behind the SMIUtility calls
    bool asicLib = false;

    std::vector<InjectedFault> faults;
};

}  // namespace kv::sim
