// Rig device fields for properties: the driver property set and the
// video-processing and camera-control ranges and values.
#include <map>

#include "sim/rig/RigDeviceReaders.h"

namespace kv::sim::rigreaders {

namespace {

// What a camera answers when its rig gives no ranges: the usual UVC
// processing unit, and exposure on the camera terminal.
std::map<std::int32_t, PropertyRange> DefaultVideoProcAmp() {
    return {
        {0, {-64, 64, 1, 0, 2}},        // brightness
        {1, {0, 64, 1, 32, 2}},         // contrast
        {2, {-40, 40, 1, 0, 2}},        // hue
        {3, {0, 128, 1, 64, 2}},        // saturation
        {4, {0, 6, 1, 3, 2}},           // sharpness
        {5, {72, 500, 1, 100, 2}},      // gamma
        {7, {2800, 6500, 1, 4600, 3}},  // white balance
        {8, {0, 2, 1, 1, 2}},           // backlight compensation
        {9, {0, 100, 1, 0, 2}},         // gain
    };
}

std::map<std::int32_t, PropertyRange> DefaultCameraControl() {
    return {{4, {-13, -1, 1, -6, 3}}};  // exposure
}

std::int32_t ReadInt32(const JsonField& field) {
    return static_cast<std::int32_t>(field.Integer(INT32_MIN, INT32_MAX));
}

void ReadRange(const JsonField& field, PropertyRange& range, std::map<std::int32_t, PropertyValue>& values,
               std::int32_t property) {
    field.AllowKeys({"min", "max", "step", "default", "caps", "value", "flags"});
    range.min = ReadInt32(field["min"]);
    range.max = static_cast<std::int32_t>(field["max"].Integer(range.min, INT32_MAX));
    range.step = field.Has("step") ? static_cast<std::int32_t>(field["step"].Integer(1, INT32_MAX)) : 1;
    range.def =
        field.Has("default") ? static_cast<std::int32_t>(field["default"].Integer(range.min, range.max)) : range.min;
    range.caps = field.Has("caps") ? static_cast<std::int32_t>(field["caps"].Integer(1, 3)) : 2;
    if (field.Has("value") || field.Has("flags")) {
        PropertyValue value{range.def, (range.caps & 2) != 0 ? 2 : 1};
        if (field.Has("value")) value.value = static_cast<std::int32_t>(field["value"].Integer(range.min, range.max));
        if (field.Has("flags")) value.flags = static_cast<std::int32_t>(field["flags"].Integer(1, 2));
        values[property] = value;
    }
}

void ReadGroup(const JsonField& device, std::string_view name, std::map<std::int32_t, PropertyRange>& ranges,
               std::map<std::int32_t, PropertyValue>& values) {
    if (!device.Has(name)) return;
    const JsonField group = device[name];
    group.RequireObject();
    ranges.clear();
    for (auto it = group.json().begin(); it != group.json().end(); ++it) {
        const JsonField item = group[it.key()];
        std::int64_t property = 0;
        if (!ParseInteger(it.key(), property) || property < 0 || property > 255)
            item.Fail("expected a property number");
        ReadRange(item, ranges[static_cast<std::int32_t>(property)], values, static_cast<std::int32_t>(property));
    }
}

void ReadDriverProperties(const JsonField& field, RigDevice& rigDevice) {
    field.RequireObject();
    rigDevice.config.driverProperties = true;
    for (auto it = field.json().begin(); it != field.json().end(); ++it) {
        const JsonField item = field[it.key()];
        std::int64_t id = 0;
        if (!ParseInteger(it.key(), id) || id < 0 || id > 0xFFFF) item.Fail("expected a property id");
        rigDevice.config.driverPropertyIds.insert(static_cast<std::uint32_t>(id));
        rigDevice.initial.driverProperties[static_cast<std::uint32_t>(id)] = ReadInt32(item);
    }
}

}  // namespace

void ReadProperties(const JsonField& device, RigDevice& rigDevice) {
    rigDevice.config.videoProcAmp = DefaultVideoProcAmp();
    rigDevice.config.cameraControl = DefaultCameraControl();
    ReadGroup(device, "videoProcAmp", rigDevice.config.videoProcAmp, rigDevice.initial.videoProcAmp);
    ReadGroup(device, "cameraControl", rigDevice.config.cameraControl, rigDevice.initial.cameraControl);
    if (device.Has("driverProperties")) ReadDriverProperties(device["driverProperties"], rigDevice);
}

}  // namespace kv::sim::rigreaders
