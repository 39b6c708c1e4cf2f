// The readers of the parts of one rig device (internal to the rig reader).
#pragma once

#include "sim/rig/JsonField.h"
#include "sim/rig/RigDescription.h"

namespace kv::sim::rigreaders {

// Each throws FieldError naming the field at fault.
void ReadListing(const JsonField& device, std::size_t index, RigDevice& rigDevice);
void ReadUnits(const JsonField& device, RigDevice& rigDevice);
void ReadProperties(const JsonField& device, RigDevice& rigDevice);
void ReadBridgeRegisters(const JsonField& device, RigDevice& rigDevice);
void ReadI2cDevices(const JsonField& device, RigDevice& rigDevice);
void ReadFaults(const JsonField& device, RigDevice& rigDevice);
// After the bus devices: the SMIUtility sensor gets the device its address
// stands for when the rig lists none there.
void PlaceSmiSensor(const JsonField& device, RigDevice& rigDevice);

}  // namespace kv::sim::rigreaders
