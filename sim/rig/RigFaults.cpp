// Rig device field "faults": requests that fail or hang.
#include <string>

#include "sim/hw/Faults.h"
#include "sim/rig/RigDeviceReaders.h"

namespace kv::sim::rigreaders {

namespace {

// An op the path does not have would never match: refused, with the ones it has.
std::string ReadOp(const JsonField& field, const std::string& path) {
    const std::string op = field.Text();
    const auto ops = PathOps(path);
    std::string known;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (ops[i] == op) return op;
        known += (i == 0 ? "" : i + 1 == ops.size() ? " or " : ", ") + std::string(ops[i]);
    }
    field.Fail("no such operation on path " + path + " (expected " + known + ")");
}

InjectedFault ReadFault(const JsonField& field) {
    field.AllowKeys({"path", "op", "id", "effect", "ms", "hresult"});
    InjectedFault fault;
    fault.path = field["path"].Text();
    if (!IsKnownPath(fault.path)) {
        field["path"].Fail(
            "unknown path (expected bridge-xu, plugin-xu, aveo-xu, driver, ks, videoprocamp, cameracontrol, usb, smi "
            "or asiclib)");
    }
    if (field.Has("op")) fault.op = ReadOp(field["op"], fault.path);
    if (field.Has("id")) {
        if (fault.op && !OpCarriesId(*fault.op)) field["id"].Fail("operation " + *fault.op + " carries no id");
        fault.id = static_cast<std::uint32_t>(field["id"].Integer(0, 0xFFFFFFFFLL));
    }
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

void ReadFaults(const JsonField& device, RigDevice& rigDevice) {
    if (!device.Has("faults")) return;
    const JsonField faults = device["faults"];
    faults.RequireArray();
    for (std::size_t i = 0; i < faults.json().size(); ++i) rigDevice.config.faults.push_back(ReadFault(faults.At(i)));
}

}  // namespace kv::sim::rigreaders
