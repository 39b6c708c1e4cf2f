// Rig file reading: the top level and the list of devices.
#include "sim/rig/RigFile.h"

#include <fstream>
#include <sstream>

#include "sim/rig/RigDeviceReaders.h"

namespace kv::sim {

namespace {

EnumeratorMode ReadEnumerator(const JsonField& field) {
    const std::string mode = field.Text();
    if (mode == "normal") return EnumeratorMode::Normal;
    if (mode == "create-fails") return EnumeratorMode::CreateFails;
    if (mode == "empty") return EnumeratorMode::EmptyCategory;
    field.Fail("expected \"normal\", \"create-fails\" or \"empty\"");
}

RigDevice ReadDevice(const JsonField& device, std::size_t index) {
    device.AllowKeys({"friendlyName",
                      "vendorId",
                      "productId",
                      "interface",
                      "instance",
                      "devicePath",
                      "missingInterfaces",
                      "bindFails",
                      "extensionUnits",
                      "nodeTypes",
                      "driverProperties",
                      "videoProcAmp",
                      "cameraControl",
                      "registers",
                      "engineBusyReads",
                      "engineStatusBits",
                      "i2cDevices",
                      "directUsb",
                      "smi",
                      "asicLib",
                      "faults"});
    RigDevice rigDevice;
    rigreaders::ReadListing(device, index, rigDevice);
    rigreaders::ReadUnits(device, rigDevice);
    rigreaders::ReadProperties(device, rigDevice);
    rigreaders::ReadBridgeRegisters(device, rigDevice);
    rigreaders::ReadI2cDevices(device, rigDevice);
    rigreaders::PlaceSmiSensor(device, rigDevice);
    rigreaders::ReadFaults(device, rigDevice);
    return rigDevice;
}

}  // namespace

bool ParseRigText(std::string_view text, RigDescription& rig, std::string& error) {
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& e) {
        // Syntax errors, and numbers too large for any integer type.
        error = std::string("not valid JSON: ") + e.what();
        return false;
    }
    try {
        const JsonField root(document, "");
        root.AllowKeys({"description", "enumerator", "devices"});
        rig = RigDescription{};
        if (root.Has("description")) rig.description = root["description"].Text();
        if (root.Has("enumerator")) rig.enumerator = ReadEnumerator(root["enumerator"]);
        const JsonField devices = root["devices"];
        devices.RequireArray();
        for (std::size_t i = 0; i < devices.json().size(); ++i) rig.devices.push_back(ReadDevice(devices.At(i), i));
    } catch (const FieldError& e) {
        error = e.what();
        return false;
    }
    return true;
}

bool ReadRigFile(const std::filesystem::path& file, RigDescription& rig, std::string& text, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = file.string() + ": cannot be read";
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    if (!ParseRigText(text, rig, error)) {
        error = file.string() + ": " + error;
        return false;
    }
    return true;
}

}  // namespace kv::sim
