// Rig device fields for register contents: the bridge register file and the
// devices on the camera's I2C bus.
#include <functional>

#include "sim/hw/I2cDevice.h"
#include "sim/rig/RigDeviceReaders.h"

namespace kv::sim::rigreaders {

namespace {

std::uint32_t ReadKey(const JsonField& item, const std::string& key, std::int64_t max, const char* what) {
    std::int64_t value = 0;
    if (!ParseInteger(key, value) || value < 0 || value > max) item.Fail(std::string("expected ") + what);
    return static_cast<std::uint32_t>(value);
}

// {"<register>": value, ...} into `out`, keys and values checked against the widths.
void ReadRegisterMap(const JsonField& field, std::int64_t maxRegister, std::int64_t maxValue,
                     const std::function<void(std::uint32_t, std::uint16_t)>& store) {
    field.RequireObject();
    for (auto it = field.json().begin(); it != field.json().end(); ++it) {
        const JsonField item = field[it.key()];
        const std::uint32_t reg =
            ReadKey(item, it.key(), maxRegister, "a register address within the device's address width");
        store(reg, static_cast<std::uint16_t>(item.Integer(0, maxValue)));
    }
}

I2cDeviceSettings ReadI2cDeviceSettings(const JsonField& field, std::uint8_t address) {
    I2cDeviceSettings rigDevice;
    const auto preset = DefaultI2cDevice(address);
    if (preset) rigDevice = *preset;
    else if (!field.Has("addressWidth") || !field.Has("valueWidth")) {
        field.Fail("addressWidth and valueWidth are needed for a device at an address without defaults");
    }
    if (field.Has("addressWidth")) rigDevice.addressWidth = static_cast<int>(field["addressWidth"].Integer(0, 2));
    if (field.Has("valueWidth")) rigDevice.valueWidth = static_cast<int>(field["valueWidth"].Integer(1, 2));
    if (field.Has("paged")) rigDevice.paged = field["paged"].Boolean();
    if (field.Has("acknowledge")) rigDevice.acknowledges = field["acknowledge"].Boolean();
    if (field.Has("port")) rigDevice.port = static_cast<int>(field["port"].Integer(1, 2));
    if (rigDevice.paged && rigDevice.addressWidth != 1) field.Fail("a paged device needs 1-byte register addresses");
    return rigDevice;
}

void ReadDeviceState(const JsonField& field, const I2cDeviceSettings& rigDevice, I2cDeviceState& state) {
    const std::int64_t maxRegister = rigDevice.addressWidth == 2 ? 0xFFFF : 0xFF;
    const std::int64_t maxValue = rigDevice.valueWidth == 2 ? 0xFFFF : 0xFF;
    if (field.Has("page")) state.page = static_cast<std::uint16_t>(field["page"].Integer(0, maxValue));
    if (field.Has("pointer")) state.pointer = static_cast<std::uint32_t>(field["pointer"].Integer(0, maxRegister));
    if (field.Has("lastByte")) state.lastByte = static_cast<std::uint8_t>(field["lastByte"].Integer(0, 0xFF));
    if (field.Has("registers")) {
        ReadRegisterMap(field["registers"], maxRegister, maxValue, [&](std::uint32_t reg, std::uint16_t value) {
            state.registers[I2cRegisterKey(rigDevice, state.page, reg)] = value;
        });
    }
    if (!field.Has("pages")) return;
    const JsonField pages = field["pages"];
    if (!rigDevice.paged) pages.Fail("only a paged device has pages");
    pages.RequireObject();
    for (auto it = pages.json().begin(); it != pages.json().end(); ++it) {
        const JsonField page = pages[it.key()];
        const auto number = static_cast<std::uint16_t>(ReadKey(page, it.key(), maxValue, "a page number"));
        ReadRegisterMap(page, maxRegister, maxValue, [&](std::uint32_t reg, std::uint16_t value) {
            state.registers[I2cRegisterKey(rigDevice, number, reg)] = value;
        });
    }
}

}  // namespace

void ReadBridgeRegisters(const JsonField& device, RigDevice& rigDevice) {
    if (!device.Has("registers")) return;
    ReadRegisterMap(device["registers"], 0xFFFF, 0xFF, [&](std::uint32_t reg, std::uint16_t value) {
        rigDevice.initial.bridge.registers[static_cast<std::uint16_t>(reg)] = static_cast<std::uint8_t>(value);
    });
}

void ReadI2cDevices(const JsonField& device, RigDevice& rigDevice) {
    if (!device.Has("i2cDevices")) return;
    const JsonField devices = device["i2cDevices"];
    devices.RequireObject();
    for (auto it = devices.json().begin(); it != devices.json().end(); ++it) {
        const JsonField field = devices[it.key()];
        const auto address =
            static_cast<std::uint8_t>(ReadKey(field, it.key(), 0xFF, "a bus address from 0x00 to 0xFF"));
        field.AllowKeys({"addressWidth", "valueWidth", "paged", "acknowledge", "port", "registers", "pages", "page",
                         "pointer", "lastByte"});
        const I2cDeviceSettings settings = ReadI2cDeviceSettings(field, address);
        rigDevice.config.i2cDevices[address] = settings;
        ReadDeviceState(field, settings, rigDevice.initial.i2cDevices[address]);
    }
}

}  // namespace kv::sim::rigreaders
