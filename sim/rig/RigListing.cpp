// Rig device fields that the device enumerator shows: names, ids, device
// path, interfaces and binding.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/TextBasics.h"
#include "sim/rig/RigDeviceReaders.h"

namespace kv::sim::rigreaders {

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// "vid_a168&pid_0990" and "&mi_00" when the device is one interface of a composite device.
std::string HardwareIds(std::uint16_t vid, std::uint16_t pid, int interfaceNumber) {
    char buf[48];
    if (interfaceNumber >= 0) {
        std::snprintf(buf, sizeof buf, "vid_%04x&pid_%04x&mi_%02x", vid, pid, static_cast<unsigned>(interfaceNumber));
    } else {
        std::snprintf(buf, sizeof buf, "vid_%04x&pid_%04x", vid, pid);
    }
    return buf;
}

std::string DefaultInstance(std::size_t index) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "6&%08x&0&0000", 0x1A2B3C00u + static_cast<unsigned>(index));
    return buf;
}

void ReadMissingInterfaces(const JsonField& field, DeviceListing& listing) {
    field.RequireArray();
    for (std::size_t i = 0; i < field.json().size(); ++i) {
        const JsonField item = field.At(i);
        const std::string name = item.Text();
        const bool known = std::any_of(std::begin(kInterfaceNames), std::end(kInterfaceNames),
                                       [&](const char* n) { return name == n; });
        if (!known) {
            item.Fail(
                "unknown interface (expected IKsControl, IKsPropertySet, IKsTopologyInfo, IAMVideoProcAmp or "
                "IAMCameraControl)");
        }
        listing.missingInterfaces.insert(name);
    }
}

}  // namespace

void ReadListing(const JsonField& device, std::size_t index, RigDevice& rigDevice) {
    CameraConfig& config = rigDevice.config;
    DeviceListing& listing = rigDevice.listing;
    if (device.Has("vendorId")) config.vendorId = static_cast<std::uint16_t>(device["vendorId"].Integer(0, 0xFFFF));
    config.productId = static_cast<std::uint16_t>(device["productId"].Integer(0, 0xFFFF));
    const int interfaceNumber = device.Has("interface") ? static_cast<int>(device["interface"].Integer(0, 255)) : -1;
    const std::string instance = device.Has("instance") ? device["instance"].Text() : DefaultInstance(index);
    const std::string ids = HardwareIds(config.vendorId, config.productId, interfaceNumber);

    listing.friendlyName = config.vendorId == 0xA168 ? "Korvex USB Camera" : "USB Video Device";
    if (device.Has("friendlyName")) {
        if (device["friendlyName"].IsNull()) listing.friendlyName.reset();
        else listing.friendlyName = device["friendlyName"].Text();
    }
    listing.devicePath =
        platform::ToLower("\\\\?\\usb#" + ids + "#" + instance + "#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global");
    if (device.Has("devicePath")) {
        if (device["devicePath"].IsNull()) listing.devicePath.reset();
        else listing.devicePath = device["devicePath"].Text();
    }
    listing.usbInstanceId = Upper("usb\\" + ids + "\\" + instance);
    if (device.Has("missingInterfaces")) ReadMissingInterfaces(device["missingInterfaces"], listing);
    if (device.Has("bindFails")) listing.bindFails = device["bindFails"].Boolean();
}

}  // namespace kv::sim::rigreaders
