// Stand-in SMIUtility.dll: the sensor-bridge library's C entry points (cdecl,
// 32-bit int arguments and result), answered by the rig's SMIUtility-family
// cameras through the behaviour the host's in-process module shares
// (sim/rig/SmiStandIn.h). Results: 0 for success, 1 for failure.
#include <windows.h>

#include "sim/rig/SmiStandIn.h"
#include "sim/win32/StandInRig.h"

namespace {

using kv::sim::smi::StandIn;

// The library's state lives as long as the DLL is loaded in the process.
kv::sim::smi::Library g_library;

// The rig device of the filter kvsimcam.dll bound last in this process: the
// camera the program opened before it creates the library's device object.
int BoundDevice() {
    const HMODULE server = GetModuleHandleW(L"kvsimcam.dll");
    if (server == nullptr) return -1;
    using Query = long(__cdecl*)();
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(server, "KvSimBoundDevice")));
    return query != nullptr ? static_cast<int>(query()) : -1;
}

// Runs one entry point on the current rig, which stays loaded for the call;
// a hang is waited out after the rig's lock is released.
template <class Call>
int OnRig(Call&& call) {
    const auto rig = kv::sim::win32::CurrentRig();
    StandIn standIn(
        rig.get(),
        [&](std::size_t device, const kv::sim::DeviceCall& request) {
            return kv::sim::win32::AskDevice(*rig, device, request);
        },
        g_library);
    return call(standIn);
}

}  // namespace

extern "C" {

int __cdecl SMI_CreateDeviceObject() {
    const int bound = BoundDevice();
    return OnRig([&](StandIn& s) { return s.CreateDeviceObject(bound); });
}

int __cdecl SMI_DestoryDeviceObject() {
    return OnRig([](StandIn& s) { return s.DestroyDeviceObject(); });
}

int __cdecl SMI_SetSensorRegister(int reg, int value) {
    return OnRig([&](StandIn& s) { return s.SetSensorRegister(reg, value); });
}

int __cdecl SMI_SetSensorRegisterByVidPid(int reg, int value, int pid, int vid) {
    return OnRig([&](StandIn& s) { return s.SetSensorRegisterByVidPid(reg, value, pid, vid); });
}

int __cdecl SMI_SetSensorRegisterByVidPidIdx(int reg, int value, int pid, int vid, int position) {
    return OnRig([&](StandIn& s) { return s.SetSensorRegisterByVidPidIdx(reg, value, pid, vid, position); });
}

int __cdecl SMI_GetSensorRegister(int reg, int* value) {
    return OnRig([&](StandIn& s) { return s.GetSensorRegister(reg, value); });
}

int __cdecl SMI_GetSensorRegisterByVidPid(int reg, int* value, int pid, int vid) {
    return OnRig([&](StandIn& s) { return s.GetSensorRegisterByVidPid(reg, value, pid, vid); });
}

int __cdecl SMI_GetSensorRegisterByVidPidIdx(int reg, int* value, int pid, int vid, int position) {
    return OnRig([&](StandIn& s) { return s.GetSensorRegisterByVidPidIdx(reg, value, pid, vid, position); });
}

int __cdecl SMI_SetGPIOValue(int port, int value) {
    return OnRig([&](StandIn& s) { return s.SetGpioValue(port, value); });
}

int __cdecl SMI_GetGPIOValue(int port, int* value) {
    return OnRig([&](StandIn& s) { return s.GetGpioValue(port, value); });
}

int __cdecl SMI_SetGPIOValueByVidPid(int port, int value, int pid, int vid) {
    return OnRig([&](StandIn& s) { return s.SetGpioValueByVidPid(port, value, pid, vid); });
}

int __cdecl SMI_SetGPIOValueByVidPidIdx(int port, int value, int pid, int vid, int position) {
    return OnRig([&](StandIn& s) { return s.SetGpioValueByVidPidIdx(port, value, pid, vid, position); });
}

int __cdecl SMI_GetGPIOValueByVidPid(int port, int* value, int pid, int vid) {
    return OnRig([&](StandIn& s) { return s.GetGpioValueByVidPid(port, value, pid, vid); });
}

int __cdecl SMI_GetGPIOValueByVidPidIdx(int port, int* value, int pid, int vid, int position) {
    return OnRig([&](StandIn& s) { return s.GetGpioValueByVidPidIdx(port, value, pid, vid, position); });
}

// Rendering, snapshots, auto focus, the EEPROM and the id query are not part
// of the model, and their arguments are not known here: they touch none and
// report failure (the caller clears the stack, so any arguments are safe).
int __cdecl SMI_CreateVideoRender() { return StandIn::NotModelled(); }
int __cdecl SMI_GetVIDPID() { return StandIn::NotModelled(); }
int __cdecl SMI_SnapshotCurrentResolution() { return StandIn::NotModelled(); }
int __cdecl SMI_SnapshotMaxResolution() { return StandIn::NotModelled(); }
int __cdecl SMI_SnapshotMaxResolutionAutoMode() { return StandIn::NotModelled(); }
int __cdecl SMI_SnapshotUserDefineResolution() { return StandIn::NotModelled(); }
int __cdecl SMI_SnapshotUserDefineResolutionAutoMode() { return StandIn::NotModelled(); }
int __cdecl SMI_StillPinSnapshot() { return StandIn::NotModelled(); }
int __cdecl SMI_DoOV3640AF_Reset() { return StandIn::NotModelled(); }
int __cdecl SMI_DoOV3640AF_ShowFrame() { return StandIn::NotModelled(); }
int __cdecl SMI_DoOV3640AF_HideFrame() { return StandIn::NotModelled(); }
int __cdecl SMI_DoOV3640AF_Once() { return StandIn::NotModelled(); }
int __cdecl SMI_DoOV3640AF_Continue() { return StandIn::NotModelled(); }
int __cdecl SMI_GetEEPROMVersion() { return StandIn::NotModelled(); }

}  // extern "C"
