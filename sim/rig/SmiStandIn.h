// The stand-in SMIUtility library's behaviour, shared by the host's
// in-process module and the Windows DLL: which rig device each entry point
// reaches, and what it answers.
#pragma once

#include <atomic>
#include <cstddef>
#include <utility>

#include "sim/rig/StandInCall.h"

namespace kv::sim::smi {

// The library's results.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;

// Every entry point of the library. The first fourteen are answered by
// StandIn; the rest (rendering, snapshots, auto focus, the EEPROM, the id
// query) are not part of the model: they report failure and touch no
// argument.
inline constexpr const char* kEntryPoints[] = {"SMI_CreateDeviceObject",
                                               "SMI_DestoryDeviceObject",
                                               "SMI_SetSensorRegister",
                                               "SMI_SetSensorRegisterByVidPid",
                                               "SMI_SetSensorRegisterByVidPidIdx",
                                               "SMI_GetSensorRegister",
                                               "SMI_GetSensorRegisterByVidPid",
                                               "SMI_GetSensorRegisterByVidPidIdx",
                                               "SMI_SetGPIOValue",
                                               "SMI_GetGPIOValue",
                                               "SMI_SetGPIOValueByVidPid",
                                               "SMI_SetGPIOValueByVidPidIdx",
                                               "SMI_GetGPIOValueByVidPid",
                                               "SMI_GetGPIOValueByVidPidIdx",
                                               "SMI_CreateVideoRender",
                                               "SMI_GetVIDPID",
                                               "SMI_SnapshotCurrentResolution",
                                               "SMI_SnapshotMaxResolution",
                                               "SMI_SnapshotMaxResolutionAutoMode",
                                               "SMI_SnapshotUserDefineResolution",
                                               "SMI_SnapshotUserDefineResolutionAutoMode",
                                               "SMI_StillPinSnapshot",
                                               "SMI_DoOV3640AF_Reset",
                                               "SMI_DoOV3640AF_ShowFrame",
                                               "SMI_DoOV3640AF_HideFrame",
                                               "SMI_DoOV3640AF_Once",
                                               "SMI_DoOV3640AF_Continue",
                                               "SMI_GetEEPROMVersion"};

using kv::sim::Asker;
using kv::sim::DeviceCall;

// What the library keeps between calls in one process: the device object
// that SMI_CreateDeviceObject opened. Callers on several threads may share
// it; a hanging call holds no lock while it waits.
struct Library {
    std::atomic<int> opened{-1};  // rig device index; -1 before a successful create
};

// The entry points on one rig. Calls by vendor and product id reach the first
// rig device with those ids when it is of the SMIUtility family; the "...Idx"
// calls the device at that position in the program's camera table (the
// devices whose path names the vendor, Rig::FindByVidPidPosition); the
// id-less calls the device object the program created, which stands for the
// camera the program bound last. The calls the console program never makes
// take the shapes of their siblings (register or port, then value or
// pointer, then ids, then position).
class StandIn {
public:
    // `rig` null: there is none, and every call fails.
    StandIn(const Rig* rig, Asker ask, Library& library) : rig_(rig), ask_(std::move(ask)), library_(library) {}

    // Opens the camera the program bound last (`boundDevice`, the rig index
    // of the filter it bound; -1: none), when that camera is of the family.
    int CreateDeviceObject(int boundDevice);
    int DestroyDeviceObject();
    static int NotModelled() { return kFailed; }

    int SetSensorRegister(int reg, int value);
    int SetSensorRegisterByVidPid(int reg, int value, int pid, int vid);
    int SetSensorRegisterByVidPidIdx(int reg, int value, int pid, int vid, int position);
    int GetSensorRegister(int reg, int* value);
    int GetSensorRegisterByVidPid(int reg, int* value, int pid, int vid);
    int GetSensorRegisterByVidPidIdx(int reg, int* value, int pid, int vid, int position);

    int SetGpioValue(int port, int value);
    int SetGpioValueByVidPid(int port, int value, int pid, int vid);
    int SetGpioValueByVidPidIdx(int port, int value, int pid, int vid, int position);
    int GetGpioValue(int port, int* value);
    int GetGpioValueByVidPid(int port, int* value, int pid, int vid);
    int GetGpioValueByVidPidIdx(int port, int* value, int pid, int vid, int position);

private:
    // The device a call addresses; -1 when there is none.
    int Current() const;
    bool OfFamily(int device) const;
    int ByIds(int pid, int vid) const;
    int ByPosition(int pid, int vid, int position) const;

    bool Ask(int device, const DeviceCall& call);
    int SetSensor(int device, int reg, int value);
    int GetSensor(int device, int reg, int* value);
    int SetGpio(int device, int port, int value);
    int GetGpio(int device, int port, int* value);

    const Rig* rig_;
    Asker ask_;
    Library& library_;
};

}  // namespace kv::sim::smi
