// In-process stand-ins for SMIUtility.dll and ClientPropertyPageLIB.dll: the
// behaviour the Windows stand-ins share (sim/rig/SmiStandIn.h,
// sim/rig/AsicLibStandIn.h), with the libraries' per-process state living as
// long as the bound rig. Results: 0 for success from SMIUtility, nonzero
// (TRUE) for success from ClientPropertyPageLIB, as the callers read them.
#include "sim/host/SimStandIns.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/TextBasics.h"
#include "sim/rig/AsicLibStandIn.h"
#include "sim/rig/SmiStandIn.h"

namespace kv::sim::host {

namespace {

SimContext* g_context = nullptr;
smi::Library g_smiLibrary;
asiclib::Library g_asicLibrary;

// A request on the bound rig; a hang is waited out on the program's clock.
Answer AskRig(std::size_t device, const DeviceCall& call) {
    return g_context->Settle(call(g_context->session(), device));
}

const Rig* BoundRig() { return g_context ? &g_context->rig() : nullptr; }

smi::StandIn Smi() { return smi::StandIn(BoundRig(), AskRig, g_smiLibrary); }
asiclib::StandIn AsicLib() { return asiclib::StandIn(BoundRig(), AskRig, g_asicLibrary); }

// SMIUtility entry points.
int SMI_CreateDeviceObject() { return Smi().CreateDeviceObject(g_context ? g_context->boundDevice() : -1); }
int SMI_DestoryDeviceObject() { return Smi().DestroyDeviceObject(); }
int SMI_SetSensorRegister(int reg, int value) { return Smi().SetSensorRegister(reg, value); }
int SMI_SetSensorRegisterByVidPid(int reg, int value, int pid, int vid) {
    return Smi().SetSensorRegisterByVidPid(reg, value, pid, vid);
}
int SMI_SetSensorRegisterByVidPidIdx(int reg, int value, int pid, int vid, int position) {
    return Smi().SetSensorRegisterByVidPidIdx(reg, value, pid, vid, position);
}
int SMI_GetSensorRegister(int reg, int* value) { return Smi().GetSensorRegister(reg, value); }
int SMI_GetSensorRegisterByVidPid(int reg, int* value, int pid, int vid) {
    return Smi().GetSensorRegisterByVidPid(reg, value, pid, vid);
}
int SMI_GetSensorRegisterByVidPidIdx(int reg, int* value, int pid, int vid, int position) {
    return Smi().GetSensorRegisterByVidPidIdx(reg, value, pid, vid, position);
}
int SMI_SetGPIOValue(int port, int value) { return Smi().SetGpioValue(port, value); }
int SMI_GetGPIOValue(int port, int* value) { return Smi().GetGpioValue(port, value); }
int SMI_SetGPIOValueByVidPid(int port, int value, int pid, int vid) {
    return Smi().SetGpioValueByVidPid(port, value, pid, vid);
}
int SMI_SetGPIOValueByVidPidIdx(int port, int value, int pid, int vid, int position) {
    return Smi().SetGpioValueByVidPidIdx(port, value, pid, vid, position);
}
int SMI_GetGPIOValueByVidPid(int port, int* value, int pid, int vid) {
    return Smi().GetGpioValueByVidPid(port, value, pid, vid);
}
int SMI_GetGPIOValueByVidPidIdx(int port, int* value, int pid, int vid, int position) {
    return Smi().GetGpioValueByVidPidIdx(port, value, pid, vid, position);
}
// Reached through any function type; it reads no argument (the caller
// clears the stack), so whatever the caller passes is safe.
int SMI_NotModelled() { return smi::StandIn::NotModelled(); }

// ClientPropertyPageLIB entry points.
int InitialLIB() { return AsicLib().Initial(); }
int ReadAsic(long reg, long* value) { return AsicLib().ReadAsic(reg, value); }
int WriteAsic(long reg, long value) { return AsicLib().WriteAsic(reg, value); }
void UNInitialLIB() { AsicLib().Uninitial(); }

template <class Fn>
void* Entry(Fn* fn) {
    return reinterpret_cast<void*>(fn);
}

}  // namespace

void BindStandIns(SimContext& context) {
    g_context = &context;
    g_smiLibrary.opened = -1;
    g_asicLibrary.open = false;
}

SymbolTable SmiUtilitySymbols() {
    SymbolTable table{{"SMI_CreateDeviceObject", Entry(SMI_CreateDeviceObject)},
                      {"SMI_DestoryDeviceObject", Entry(SMI_DestoryDeviceObject)},
                      {"SMI_SetSensorRegister", Entry(SMI_SetSensorRegister)},
                      {"SMI_SetSensorRegisterByVidPid", Entry(SMI_SetSensorRegisterByVidPid)},
                      {"SMI_SetSensorRegisterByVidPidIdx", Entry(SMI_SetSensorRegisterByVidPidIdx)},
                      {"SMI_GetSensorRegister", Entry(SMI_GetSensorRegister)},
                      {"SMI_GetSensorRegisterByVidPid", Entry(SMI_GetSensorRegisterByVidPid)},
                      {"SMI_GetSensorRegisterByVidPidIdx", Entry(SMI_GetSensorRegisterByVidPidIdx)},
                      {"SMI_SetGPIOValue", Entry(SMI_SetGPIOValue)},
                      {"SMI_GetGPIOValue", Entry(SMI_GetGPIOValue)},
                      {"SMI_SetGPIOValueByVidPid", Entry(SMI_SetGPIOValueByVidPid)},
                      {"SMI_SetGPIOValueByVidPidIdx", Entry(SMI_SetGPIOValueByVidPidIdx)},
                      {"SMI_GetGPIOValueByVidPid", Entry(SMI_GetGPIOValueByVidPid)},
                      {"SMI_GetGPIOValueByVidPidIdx", Entry(SMI_GetGPIOValueByVidPidIdx)}};
    // Every other name the Windows library exports answers failure.
    for (const char* name : smi::kEntryPoints) table.emplace(name, Entry(SMI_NotModelled));
    return table;
}

// Looked up by the decorated names the Windows library exports.
SymbolTable AsicLibSymbols() {
    return {{"?InitialLIB@@YAHXZ", Entry(InitialLIB)},
            {"?ReadAsic@@YAHJPAJ@Z", Entry(ReadAsic)},
            {"?WriteAsic@@YAHJJ@Z", Entry(WriteAsic)},
            {"?UNInitialLIB@@YAXXZ", Entry(UNInitialLIB)}};
}

namespace {

class StandInModule : public platform::Module {
public:
    explicit StandInModule(SymbolTable symbols) : m_symbols(std::move(symbols)) {}
    void* Symbol(const std::string& name) override {
        const auto found = m_symbols.find(name);
        return found == m_symbols.end() ? nullptr : found->second;
    }

private:
    SymbolTable m_symbols;
};

// What a machine without the library's DLL beside the program looks like,
// for the libraries named in KV_SIM_MISSING_LIBRARIES (separated by ';').
bool NamedMissing(const std::string& name) {
    const char* names = std::getenv("KV_SIM_MISSING_LIBRARIES");
    // Windows file names: letter case does not matter.
    return names != nullptr &&
           platform::ToLower(";" + std::string(names) + ";").find(platform::ToLower(";" + name + ";")) !=
               std::string::npos;
}

}  // namespace

std::unique_ptr<platform::Module> StandInModules::Load(const std::string& name) {
    if (NamedMissing(name)) return nullptr;
    if (name == "SMIUtility.dll") return std::make_unique<StandInModule>(SmiUtilitySymbols());
    if (name == "ClientPropertyPageLIB.dll") return std::make_unique<StandInModule>(AsicLibSymbols());
    return nullptr;
}

}  // namespace kv::sim::host
