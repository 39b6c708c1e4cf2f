// The readers of the parts of one rig device (internal to the rig reader).
#pragma once

#include "sim/rig/JsonField.h"
#include "sim/rig/RigSpec.h"

namespace kv::sim::rigparts {

// Each throws FieldError naming the field at fault.
void ReadListing(const JsonField& device, std::size_t index, DeviceSpec& spec);
void ReadUnits(const JsonField& device, DeviceSpec& spec);
void ReadProperties(const JsonField& device, DeviceSpec& spec);
void ReadBridgeRegisters(const JsonField& device, DeviceSpec& spec);
void ReadI2cDevices(const JsonField& device, DeviceSpec& spec);
void ReadFaults(const JsonField& device, DeviceSpec& spec);
// After the bus devices: the SMIUtility sensor gets the device its address
// stands for when the rig lists none there.
void PlaceSmiSensor(const JsonField& device, DeviceSpec& spec);

}  // namespace kv::sim::rigparts
