// Rig device fields that say which units and paths a camera has: extension
// units and topology, the I2C engine, direct USB and the outside libraries.
#include <string>

#include "sim/hw/I2cEngine.h"
#include "sim/hw/Topology.h"
#include "sim/rig/RigDeviceReaders.h"
#include "wire/PropertySets.h"

namespace kv::sim::rigreaders {

namespace {

constexpr std::int64_t kMaxNode = 63;

void ReadUnit(const JsonField& units, std::string_view name, ExtensionUnitSettings& unit) {
    if (!units.Has(name)) return;
    const JsonField field = units[name];
    field.AllowKeys({"node"});
    unit.present = true;
    unit.node = static_cast<std::uint32_t>(field["node"].Integer(0, kMaxNode));
}

platform::Guid ReadNodeType(const JsonField& field) {
    const std::string text = field.Text();
    if (text == "camera-terminal") return wire::kNodeCameraTerminal;
    if (text == "processing") return wire::kNodeVideoProcessing;
    if (text == "dev-specific") return wire::kNodeDevSpecific;
    if (text == "streaming") return wire::kNodeVideoStreaming;
    const auto guid = platform::Guid::Parse(text);
    if (!guid) field.Fail("expected camera-terminal, processing, dev-specific, streaming or a GUID");
    return *guid;
}

void ReadNodeTypes(const JsonField& device, CameraConfig& config) {
    if (!device.Has("nodeTypes")) {
        config.nodeTypes = DefaultNodeTypes(config);
        return;
    }
    const JsonField types = device["nodeTypes"];
    types.RequireArray();
    if (types.json().size() > kMaxNode + 1) types.Fail("at most 64 nodes");
    for (std::size_t i = 0; i < types.json().size(); ++i) config.nodeTypes.push_back(ReadNodeType(types.At(i)));
    for (const auto& [name, unit] : {std::pair{"bridge", &config.bridgeXu}, std::pair{"plugin", &config.pluginXu},
                                     std::pair{"aveo", &config.aveoXu}}) {
        if (unit->present && unit->node >= config.nodeTypes.size()) {
            device["extensionUnits"][name]["node"].Fail("no such node in nodeTypes");
        }
    }
}

void ReadDirectUsb(const JsonField& field, RigDevice& rigDevice) {
    if (field.json().is_boolean()) {
        rigDevice.config.directUsb = field.Boolean();
        return;
    }
    field.AllowKeys({"driverId", "instanceId"});
    rigDevice.config.directUsb = true;
    if (field.Has("driverId"))
        rigDevice.listing.usbDriverId = static_cast<std::int32_t>(field["driverId"].Integer(0, 255));
    if (field.Has("instanceId")) rigDevice.listing.usbInstanceId = field["instanceId"].Text();
}

void ReadSmi(const JsonField& field, RigDevice& rigDevice) {
    if (field.json().is_boolean()) {
        rigDevice.config.smi = field.Boolean();
        return;
    }
    field.AllowKeys({"sensor", "gpio"});
    rigDevice.config.smi = true;
    if (field.Has("sensor")) rigDevice.config.smiSensor = static_cast<std::uint8_t>(field["sensor"].Integer(0, 0xFF));
    if (field.Has("gpio")) {
        const JsonField gpio = field["gpio"];
        gpio.RequireArray();
        if (gpio.json().size() != rigDevice.initial.smiGpio.size()) gpio.Fail("expected 4 port values");
        for (std::size_t i = 0; i < rigDevice.initial.smiGpio.size(); ++i) {
            rigDevice.initial.smiGpio[i] = static_cast<std::int32_t>(gpio.At(i).Integer(INT32_MIN, INT32_MAX));
        }
    }
}

}  // namespace

void PlaceSmiSensor(const JsonField& device, RigDevice& rigDevice) {
    CameraConfig& config = rigDevice.config;
    if (!config.smi || config.i2cDevices.count(config.smiSensor) != 0) return;
    // The sensor the library's calls reach is a bus device like any other:
    // where the rig lists none, the one the address stands for.
    const auto preset = DefaultI2cDevice(config.smiSensor);
    if (!preset) {
        const JsonField smi = device["smi"];
        const std::string problem = "no device at the sensor's address in i2cDevices, and none is assumed there";
        if (smi.json().is_object() && smi.Has("sensor")) smi["sensor"].Fail(problem);
        smi.Fail(problem);
    }
    config.i2cDevices[config.smiSensor] = *preset;
    rigDevice.initial.i2cDevices[config.smiSensor] = I2cDeviceState{};
}

void ReadUnits(const JsonField& device, RigDevice& rigDevice) {
    CameraConfig& config = rigDevice.config;
    if (device.Has("extensionUnits")) {
        const JsonField units = device["extensionUnits"];
        units.AllowKeys({"bridge", "plugin", "aveo"});
        ReadUnit(units, "bridge", config.bridgeXu);
        ReadUnit(units, "plugin", config.pluginXu);
        ReadUnit(units, "aveo", config.aveoXu);
    }
    ReadNodeTypes(device, config);
    if (device.Has("engineBusyReads")) {
        config.engineBusyReads = static_cast<std::uint32_t>(device["engineBusyReads"].Integer(0, 1000000));
    }
    if (device.Has("engineStatusBits")) {
        const JsonField bits = device["engineStatusBits"];
        config.engineStatusBits = static_cast<std::uint8_t>(bits.Integer(0, 0xFF));
        // Busy, finished and error are the engine's own; a rig only adds others.
        if ((config.engineStatusBits & kStatusReserved) != 0)
            bits.Fail("bits 0x01, 0x04 and 0x08 are the engine's own");
    }
    if (device.Has("directUsb")) ReadDirectUsb(device["directUsb"], rigDevice);
    if (device.Has("smi")) ReadSmi(device["smi"], rigDevice);
    if (device.Has("asicLib")) config.asicLib = device["asicLib"].Boolean();
}

}  // namespace kv::sim::rigreaders
