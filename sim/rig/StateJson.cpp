// Camera state to JSON and back.
#include "sim/rig/StateJson.h"

#include <utility>

#include "sim/hw/I2cDevice.h"
#include "sim/rig/HexText.h"
#include "sim/rig/JsonField.h"

namespace kv::sim {

namespace {

using Ordered = nlohmann::ordered_json;

// Blocks of the Aveo unit are 32 bytes; their trailing zeros are left out.
std::string TrimmedBytes(std::vector<std::uint8_t> bytes) {
    while (!bytes.empty() && bytes.back() == 0) bytes.pop_back();
    return FormatBytes(bytes);
}

std::vector<std::uint8_t> ReadBytes(const JsonField& field) {
    const auto bytes = ParseBytes(field.Text());
    if (!bytes) field.Fail("expected bytes such as \"01 FF\"");
    return *bytes;
}

std::uint32_t ReadKey(const JsonField& field, const std::string& key, std::int64_t max) {
    std::int64_t value = 0;
    if (!ParseInteger(key, value) || value < 0 || value > max) field.Fail("bad key");
    return static_cast<std::uint32_t>(value);
}

Ordered I2cDeviceToJson(const I2cDeviceSettings& settings, const I2cDeviceState& state) {
    const int digits = settings.addressWidth >= 2 ? 4 : 2;
    Ordered device{{"pointer", state.pointer}, {"page", state.page}, {"lastByte", state.lastByte}};
    Ordered registers = Ordered::object();
    Ordered pages = Ordered::object();
    for (const auto& [key, value] : state.registers) {
        if (settings.paged) pages[std::to_string(key >> 16)][HexKey(key & 0xFFFF, digits)] = value;
        else registers[HexKey(key, digits)] = value;
    }
    if (settings.paged) device["pages"] = pages;
    else device["registers"] = registers;
    return device;
}

Ordered PropertiesToJson(const std::map<std::int32_t, PropertyValue>& values) {
    Ordered out = Ordered::object();
    for (const auto& [id, value] : values) out[std::to_string(id)] = {{"value", value.value}, {"flags", value.flags}};
    return out;
}

Ordered XuToJson(const CameraState& state) {
    Ordered blocks = Ordered::object();
    for (const auto& [id, block] : state.pluginXu.lastBlocks) blocks[std::to_string(id)] = FormatBytes(block);
    Ordered extended = Ordered::object();
    for (const auto& [command, bytes] : state.aveoXu.extended) extended[HexKey(command, 2)] = TrimmedBytes(bytes);
    return Ordered{
        {"bridgeXu", {{"address", state.bridgeXu.address}}},
        {"pluginXu",
         {{"length", state.pluginXu.length},
          {"readAddress", state.pluginXu.readAddress},
          {"readLength", state.pluginXu.readLength},
          {"i2cReply", FormatBytes(state.pluginXu.i2cReply)},
          {"lastBlocks", blocks}}},
        {"aveoXu",
         {{"address", state.aveoXu.address}, {"reply", TrimmedBytes(state.aveoXu.reply)}, {"extended", extended}}},
    };
}

void I2cDeviceFromJson(const JsonField& field, const I2cDeviceSettings& settings, I2cDeviceState& state) {
    const std::int64_t maxRegister = settings.addressWidth >= 2 ? 0xFFFF : 0xFF;
    state.pointer = static_cast<std::uint32_t>(field["pointer"].Integer(0, maxRegister));
    state.page = static_cast<std::uint16_t>(field["page"].Integer(0, 0xFFFF));
    state.lastByte = static_cast<std::uint8_t>(field["lastByte"].Integer(0, 0xFF));
    auto readMap = [&](const JsonField& map, std::uint16_t page) {
        map.RequireObject();
        for (auto it = map.json().begin(); it != map.json().end(); ++it) {
            const std::uint32_t reg = ReadKey(map, it.key(), maxRegister);
            state.registers[I2cRegisterKey(settings, page, reg)] =
                static_cast<std::uint16_t>(map[it.key()].Integer(0, 0xFFFF));
        }
    };
    if (!settings.paged) {
        readMap(field["registers"], 0);
        return;
    }
    const JsonField pages = field["pages"];
    pages.RequireObject();
    for (auto it = pages.json().begin(); it != pages.json().end(); ++it) {
        readMap(pages[it.key()], static_cast<std::uint16_t>(ReadKey(pages, it.key(), 0xFFFF)));
    }
}

void PropertiesFromJson(const JsonField& field, std::map<std::int32_t, PropertyValue>& values) {
    field.RequireObject();
    for (auto it = field.json().begin(); it != field.json().end(); ++it) {
        const JsonField item = field[it.key()];
        values[static_cast<std::int32_t>(ReadKey(item, it.key(), 255))] =
            PropertyValue{static_cast<std::int32_t>(item["value"].Integer(INT32_MIN, INT32_MAX)),
                          static_cast<std::int32_t>(item["flags"].Integer(INT32_MIN, INT32_MAX))};
    }
}

void XuFromJson(const JsonField& field, CameraState& state) {
    state.bridgeXu.address = static_cast<std::uint16_t>(field["bridgeXu"]["address"].Integer(0, 0xFFFF));
    const JsonField plugin = field["pluginXu"];
    state.pluginXu.length = static_cast<std::uint8_t>(plugin["length"].Integer(0, 0xFF));
    state.pluginXu.readAddress = static_cast<std::uint8_t>(plugin["readAddress"].Integer(0, 0xFF));
    state.pluginXu.readLength = static_cast<std::uint8_t>(plugin["readLength"].Integer(0, 0xFF));
    state.pluginXu.i2cReply = ReadBytes(plugin["i2cReply"]);
    const JsonField blocks = plugin["lastBlocks"];
    blocks.RequireObject();
    for (auto it = blocks.json().begin(); it != blocks.json().end(); ++it) {
        state.pluginXu.lastBlocks[ReadKey(blocks, it.key(), 0xFFFF)] = ReadBytes(blocks[it.key()]);
    }
    const JsonField aveo = field["aveoXu"];
    state.aveoXu.address = static_cast<std::uint16_t>(aveo["address"].Integer(0, 0xFFFF));
    state.aveoXu.reply = ReadBytes(aveo["reply"]);
    const JsonField extended = aveo["extended"];
    extended.RequireObject();
    for (auto it = extended.json().begin(); it != extended.json().end(); ++it) {
        auto bytes = ReadBytes(extended[it.key()]);
        bytes.resize(31, 0);
        state.aveoXu.extended[static_cast<std::uint8_t>(ReadKey(extended, it.key(), 0xFF))] = bytes;
    }
}

}  // namespace

nlohmann::ordered_json StatePartJson(const CameraConfig& config, const CameraState& state, std::size_t part) {
    switch (part) {
    case 0: {
        Ordered registers = Ordered::object();
        for (const auto& [address, value] : state.bridge.registers) registers[HexKey(address, 4)] = value;
        return Ordered{
            {"vendorId", HexKey(config.vendorId, 4)},
            {"productId", HexKey(config.productId, 4)},
            {"registers", registers},
            {"i2cEngine", {{"control", state.bridge.engineControl}, {"busyLeft", state.bridge.engineBusyLeft}}}};
    }
    case 1:
        return XuToJson(state);
    case 2: {
        Ordered devices = Ordered::object();
        for (const auto& [address, settings] : config.i2cDevices) {
            const auto it = state.i2cDevices.find(address);
            devices[HexKey(address, 2)] =
                I2cDeviceToJson(settings, it == state.i2cDevices.end() ? I2cDeviceState{} : it->second);
        }
        return Ordered{{"i2cDevices", devices}};
    }
    default: {
        Ordered driver = Ordered::object();
        for (const auto& [id, value] : state.driverProperties) driver[std::to_string(id)] = value;
        return Ordered{{"driverProperties", driver},
                       {"videoProcAmp", PropertiesToJson(state.videoProcAmp)},
                       {"cameraControl", PropertiesToJson(state.cameraControl)},
                       {"usb", {{"readSlave", state.usb.readSlave}}},
                       {"smiGpio", state.smiGpio}};
    }
    }
}

bool SamePart(const CameraState& a, const CameraState& b, std::size_t part) {
    switch (part) {
    case 0:
        return a.bridge == b.bridge;
    case 1:
        return a.bridgeXu == b.bridgeXu && a.pluginXu == b.pluginXu && a.aveoXu == b.aveoXu;
    case 2:
        return a.i2cDevices == b.i2cDevices;
    default:
        return a.driverProperties == b.driverProperties && a.videoProcAmp == b.videoProcAmp &&
               a.cameraControl == b.cameraControl && a.usb == b.usb && a.smiGpio == b.smiGpio;
    }
}

nlohmann::ordered_json CameraStateToJson(const CameraConfig& config, const CameraState& state) {
    Ordered out = Ordered::object();
    for (std::size_t part = 0; part < kStateParts; ++part) {
        Ordered members = StatePartJson(config, state, part);
        for (auto& [key, value] : members.items()) out[key] = std::move(value);
    }
    return out;
}

CameraState CameraStateFromJson(const CameraConfig& config, const nlohmann::json& json, const std::string& path) {
    const JsonField field(json, path);
    CameraState state;
    const JsonField registers = field["registers"];
    registers.RequireObject();
    for (auto it = registers.json().begin(); it != registers.json().end(); ++it) {
        state.bridge.registers[static_cast<std::uint16_t>(ReadKey(registers, it.key(), 0xFFFF))] =
            static_cast<std::uint8_t>(registers[it.key()].Integer(0, 0xFF));
    }
    state.bridge.engineControl = static_cast<std::uint8_t>(field["i2cEngine"]["control"].Integer(0, 0xFF));
    state.bridge.engineBusyLeft = static_cast<std::uint32_t>(field["i2cEngine"]["busyLeft"].Integer(0, 0xFFFFFFFFLL));
    XuFromJson(field, state);
    const JsonField devices = field["i2cDevices"];
    for (const auto& [address, settings] : config.i2cDevices) {
        I2cDeviceFromJson(devices[HexKey(address, 2)], settings, state.i2cDevices[address]);
    }
    const JsonField driver = field["driverProperties"];
    driver.RequireObject();
    for (auto it = driver.json().begin(); it != driver.json().end(); ++it) {
        state.driverProperties[ReadKey(driver, it.key(), 0xFFFF)] =
            static_cast<std::int32_t>(driver[it.key()].Integer(INT32_MIN, INT32_MAX));
    }
    PropertiesFromJson(field["videoProcAmp"], state.videoProcAmp);
    PropertiesFromJson(field["cameraControl"], state.cameraControl);
    state.usb.readSlave = static_cast<std::uint8_t>(field["usb"]["readSlave"].Integer(0, 0xFF));
    const JsonField gpio = field["smiGpio"];
    gpio.RequireArray();
    if (gpio.json().size() != state.smiGpio.size()) gpio.Fail("expected 4 port values");
    for (std::size_t i = 0; i < state.smiGpio.size(); ++i) {
        state.smiGpio[i] = static_cast<std::int32_t>(gpio.At(i).Integer(INT32_MIN, INT32_MAX));
    }
    return state;
}

}  // namespace kv::sim
