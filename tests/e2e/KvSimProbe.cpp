// kv_sim_probe: works through the program's own port set, as the console
// program does. Either drives a rig's camera: enumerate, bind the device
// whose path contains a text, write one bridge register through IKsControl,
// and read it back; or binds such a device, prints its standard properties
// (ranges and values) and sets its exposure manually; or loads an outside
// library by name, as the camera object loads them, and looks up one entry
// point.
//
//   kv_sim_probe PATH-TEXT REGISTER VALUE      (numbers in hexadecimal)
//   kv_sim_probe --properties PATH-TEXT EXPOSURE
//   kv_sim_probe --load LIBRARY ENTRY-POINT
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ctrl/ProgramPorts.h"
#include "platform/CameraWalk.h"
#include "wire/BridgeRegister.h"

namespace {

using namespace kv::platform;

std::shared_ptr<Filter> BindDevice(CaptureDevices& devices, const std::string& pathText) {
    const auto walk = CameraWalk::Open(devices);
    CameraDescriptor device;
    while (walk && walk->Next(device)) {
        if (device.storage != kS_OK || !device.devicePath) continue;
        std::printf("device %s\n", device.devicePath->c_str());
        std::shared_ptr<Filter> filter;
        if (device.devicePath->find(pathText) != std::string::npos && device.Bind(filter) == kS_OK) return filter;
    }
    return nullptr;
}

// Prints what became of the load; 0 when the entry point was found.
int LoadLibraryByName(Modules& modules, const std::string& library, const std::string& entryPoint) {
    const auto module = modules.Load(library);
    if (!module) {
        std::printf("%s: not loaded\n", library.c_str());
        return 1;
    }
    const bool found = module->Symbol(entryPoint) != nullptr;
    std::printf("%s: loaded, %s %s\n", library.c_str(), entryPoint.c_str(), found ? "found" : "missing");
    return found ? 0 : 1;
}

// Every video-processing and camera-control property as "absent" or with
// its range and value; then exposure (camera control 4) set manually and
// read back.
int PrintProperties(Filter& filter, std::int32_t exposure) {
    std::shared_ptr<RangedProperties> groups[2];
    filter.QueryVideoProcAmp(groups[0]);
    filter.QueryCameraControl(groups[1]);
    const char* names[2] = {"video-proc-amp", "camera-control"};
    for (int group = 0; group < 2; ++group) {
        for (std::int32_t property = 0; property < 10; ++property) {
            std::int32_t minimum = 0, maximum = 0, step = 0, byDefault = 0, caps = 0, value = 0, flags = 0;
            if (!groups[group] || groups[group]->GetRange(property, minimum, maximum, step, byDefault, caps) != kS_OK ||
                groups[group]->Get(property, value, flags) != kS_OK) {
                std::printf("%s %d absent\n", names[group], property);
                continue;
            }
            std::printf("%s %d range %d..%d step %d default %d caps %d value %d flags %d\n", names[group], property,
                        minimum, maximum, step, byDefault, caps, value, flags);
        }
    }
    constexpr std::int32_t kExposure = 4, kManual = 2;
    std::int32_t value = 0, flags = 0;
    const bool set = groups[1] && groups[1]->Set(kExposure, exposure, kManual) == kS_OK &&
                     groups[1]->Get(kExposure, value, flags) == kS_OK;
    std::printf("exposure set %d: %s %d flags %d\n", exposure, set ? "read" : "failed", value, flags);
    return set && value == exposure ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: kv_sim_probe PATH-TEXT REGISTER VALUE | --properties PATH-TEXT EXPOSURE"
                     " | --load LIBRARY ENTRY-POINT\n");
        return 2;
    }
    const auto system = kv::ctrl::MakeProgramPorts(argc, argv);
    if (std::string(argv[1]) == "--load") return LoadLibraryByName(system->ports().modules, argv[2], argv[3]);
    if (std::string(argv[1]) == "--properties") {
        system->ports().comApartment.Initialize();
        const auto filter = BindDevice(system->ports().captureDevices, argv[2]);
        if (!filter) {
            std::printf("no device to bind\n");
            return 1;
        }
        return PrintProperties(*filter, static_cast<std::int32_t>(std::strtol(argv[3], nullptr, 10)));
    }

    const auto reg = static_cast<std::uint16_t>(std::strtoul(argv[2], nullptr, 16));
    const auto value = static_cast<std::uint8_t>(std::strtoul(argv[3], nullptr, 16));
    system->ports().comApartment.Initialize();
    const auto filter = BindDevice(system->ports().captureDevices, argv[1]);
    std::shared_ptr<KsControl> control;
    if (!filter || filter->QueryKsControl(control) != kS_OK) {
        std::printf("no device to bind\n");
        return 1;
    }
    std::uint32_t returned = 0;
    auto write = kv::wire::BridgeWriteBlock(reg, value);
    auto property = kv::wire::BridgeRequest(kv::wire::kNodeSet);
    const HResult written = control->KsProperty(property.data(), 32, write.data(), 4, &returned);
    auto read = kv::wire::BridgeLatchBlock(reg);
    control->KsProperty(property.data(), 32, read.data(), 4, &returned);
    kv::wire::BridgeBlock reply{};
    property = kv::wire::BridgeRequest(kv::wire::kNodeGet);
    const HResult got = control->KsProperty(property.data(), 32, reply.data(), 4, &returned);
    std::printf("write 0x%08X read 0x%08X value 0x%02X\n", static_cast<unsigned>(written), static_cast<unsigned>(got),
                reply[2]);
    return written == kS_OK && got == kS_OK && reply[2] == value ? 0 : 1;
}
