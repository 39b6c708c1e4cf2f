// Rig device field "faults": requests that fail or hang.
#include "sim/hw/Faults.h"
#include "sim/rig/RigParts.h"

namespace kv::sim::rigparts {

namespace {

FaultSpec ReadFault(const JsonField& field) {
    field.AllowKeys({"path", "op", "id", "effect", "ms", "hresult"});
    FaultSpec fault;
    fault.path = field["path"].Text();
    if (!IsKnownPath(fault.path)) {
        field["path"].Fail("unknown path (expected bridge-xu, plugin-xu, aveo-xu, driver, ks, videoprocamp, cameracontrol, usb, smi or asiclib)");
    }
    if (field.Has("op")) fault.op = field["op"].Text();
    if (field.Has("id")) fault.id = static_cast<std::uint32_t>(field["id"].Integer(0, 0xFFFFFFFFLL));
    const std::string effect = field["effect"].Text();
    if (effect == "hang") {
        fault.hang = true;
        fault.hangMs = static_cast<std::uint32_t>(field["ms"].Integer(1, 600000));
    } else if (effect != "fail") {
        field["effect"].Fail("expected \"fail\" or \"hang\"");
    } else if (field.Has("ms")) {
        field["ms"].Fail("only a hang has a duration");
    }
    if (field.Has("hresult")) {
        const auto code = static_cast<std::uint32_t>(field["hresult"].Integer(0x80000000LL, 0xFFFFFFFFLL));
        fault.hr = static_cast<platform::HResult>(code);
    }
    return fault;
}

}  // namespace

void ReadFaults(const JsonField& device, DeviceSpec& spec) {
    if (!device.Has("faults")) return;
    const JsonField faults = device["faults"];
    faults.RequireArray();
    for (std::size_t i = 0; i < faults.json().size(); ++i) spec.config.faults.push_back(ReadFault(faults.At(i)));
}

}  // namespace kv::sim::rigparts
