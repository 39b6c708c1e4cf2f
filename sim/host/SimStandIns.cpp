// In-process stand-ins for SMIUtility.dll and ClientPropertyPageLIB.dll.
// Calls addressed by vendor and product id find the first rig device with
// those ids; id-less calls and the bridge library work on the first device
// of their family. Results: 0 for success from SMIUtility, nonzero (TRUE)
// for success from ClientPropertyPageLIB, as the callers read them.
#include "sim/host/SimStandIns.h"

namespace kv::sim::host {

namespace {

SimContext* g_context = nullptr;

constexpr int kSmiOk = 0;
constexpr int kSmiFailed = 1;

// Rig device of the SMIUtility family with these ids; -1 when none.
int SmiDeviceByIds(int pid, int vid) {
    if (!g_context) return -1;
    const int device = g_context->rig().FindByVidPid(static_cast<std::uint16_t>(vid), static_cast<std::uint16_t>(pid));
    return device >= 0 && g_context->rig().Device(static_cast<std::size_t>(device)).config.smi ? device : -1;
}

int FirstOf(const std::vector<int>& devices) { return devices.empty() ? -1 : devices.front(); }

int SmiCurrentDevice() { return g_context ? FirstOf(g_context->rig().SmiDevices()) : -1; }

int AsicLibDevice() { return g_context ? FirstOf(g_context->rig().AsicLibDevices()) : -1; }

template <class Call>
bool Ask(int device, Call&& call) {
    if (device < 0) return false;
    return platform::Succeeded(g_context->Settle(call(g_context->session(), static_cast<std::size_t>(device))).hr);
}

int SmiResult(bool ok) { return ok ? kSmiOk : kSmiFailed; }

int SetSensor(int device, int reg, int value) {
    return SmiResult(Ask(device, [&](Session& s, std::size_t d) {
        return s.SmiSetSensorRegister(d, static_cast<std::uint32_t>(reg), value);
    }));
}

int GetSensor(int device, int reg, int* value) {
    std::int32_t read = 0;
    const bool ok = value && Ask(device, [&](Session& s, std::size_t d) {
                        return s.SmiGetSensorRegister(d, static_cast<std::uint32_t>(reg), read);
                    });
    if (ok) *value = read;
    return SmiResult(ok);
}

int SetGpio(int device, int port, int value) {
    return SmiResult(Ask(device, [&](Session& s, std::size_t d) {
        return s.SmiSetGpio(d, static_cast<std::uint32_t>(port), value);
    }));
}

int GetGpio(int device, int port, int* value) {
    std::int32_t read = 0;
    const bool ok = value && Ask(device, [&](Session& s, std::size_t d) {
                        return s.SmiGetGpio(d, static_cast<std::uint32_t>(port), read);
                    });
    if (ok) *value = read;
    return SmiResult(ok);
}

// SMIUtility entry points.
int SMI_CreateDeviceObject() {
    return SmiResult(Ask(SmiCurrentDevice(), [](Session& s, std::size_t d) { return s.SmiCreateDevice(d); }));
}
int SMI_DestoryDeviceObject() { return kSmiOk; }
int SMI_SetSensorRegisterByVidPid(int reg, int value, int pid, int vid) {
    return SetSensor(SmiDeviceByIds(pid, vid), reg, value);
}
int SMI_SetSensorRegisterByVidPidIdx(int reg, int value, int pid, int vid, int index) {
    const int device = g_context ? g_context->rig().FindByVidPidPosition(static_cast<std::uint16_t>(vid),
                                                                         static_cast<std::uint16_t>(pid), index)
                                 : -1;
    return SetSensor(device, reg, value);
}
int SMI_GetSensorRegisterByVidPid(int reg, int* value, int pid, int vid) {
    return GetSensor(SmiDeviceByIds(pid, vid), reg, value);
}
int SMI_SetGPIOValueByVidPid(int port, int value, int pid, int vid) { return SetGpio(SmiDeviceByIds(pid, vid), port, value); }
int SMI_GetGPIOValueByVidPid(int port, int* value, int pid, int vid) { return GetGpio(SmiDeviceByIds(pid, vid), port, value); }
int SMI_SetGPIOValue(int port, int value) { return SetGpio(SmiCurrentDevice(), port, value); }
int SMI_GetGPIOValue(int port, int* value) { return GetGpio(SmiCurrentDevice(), port, value); }

// ClientPropertyPageLIB entry points.
int InitialLIB() { return Ask(AsicLibDevice(), [](Session& s, std::size_t d) { return s.AsicLibInit(d); }); }
int ReadAsic(long reg, long* value) {
    std::int32_t read = 0;
    const bool ok = value && Ask(AsicLibDevice(), [&](Session& s, std::size_t d) {
                        return s.AsicRead(d, static_cast<std::uint32_t>(reg), read);
                    });
    if (ok) *value = read;
    return ok;
}
int WriteAsic(long reg, long value) {
    return Ask(AsicLibDevice(), [&](Session& s, std::size_t d) {
        return s.AsicWrite(d, static_cast<std::uint32_t>(reg), static_cast<std::int32_t>(value));
    });
}
void UNInitialLIB() { Ask(AsicLibDevice(), [](Session& s, std::size_t d) { return s.AsicLibUninit(d); }); }

template <class Fn>
void* Entry(Fn* fn) {
    return reinterpret_cast<void*>(fn);
}

}  // namespace

void BindStandIns(SimContext& context) { g_context = &context; }

SymbolTable SmiUtilitySymbols() {
    return {{"SMI_CreateDeviceObject", Entry(SMI_CreateDeviceObject)},
            {"SMI_DestoryDeviceObject", Entry(SMI_DestoryDeviceObject)},
            {"SMI_SetSensorRegisterByVidPid", Entry(SMI_SetSensorRegisterByVidPid)},
            {"SMI_SetSensorRegisterByVidPidIdx", Entry(SMI_SetSensorRegisterByVidPidIdx)},
            {"SMI_GetSensorRegisterByVidPid", Entry(SMI_GetSensorRegisterByVidPid)},
            {"SMI_SetGPIOValueByVidPid", Entry(SMI_SetGPIOValueByVidPid)},
            {"SMI_GetGPIOValueByVidPid", Entry(SMI_GetGPIOValueByVidPid)},
            {"SMI_SetGPIOValue", Entry(SMI_SetGPIOValue)},
            {"SMI_GetGPIOValue", Entry(SMI_GetGPIOValue)}};
}

// Looked up by the decorated names the Windows library exports.
SymbolTable AsicLibSymbols() {
    return {{"?InitialLIB@@YAHXZ", Entry(InitialLIB)},
            {"?ReadAsic@@YAHJPAJ@Z", Entry(ReadAsic)},
            {"?WriteAsic@@YAHJJ@Z", Entry(WriteAsic)},
            {"?UNInitialLIB@@YAXXZ", Entry(UNInitialLIB)}};
}

}  // namespace kv::sim::host
