// Stand-in SMIUtility.dll: the sensor-bridge library's C entry points (cdecl,
// 32-bit int arguments and result), answered by the rig's SMIUtility-family
// cameras. Results: 0 for success, 1 for failure.
//
// Calls addressed by vendor and product id reach the first rig device with
// those ids when it is of the family; the "...Idx" calls the device at that
// position among the vendor's devices; the id-less calls the library's
// current device, the first device of the family. The sensor and GPIO calls
// that the console program does not make take the shapes of their called
// siblings (register or port, then value or pointer, then ids, then position).
#include <cstdint>
#include <vector>

#include "sim/win32/StandInRig.h"

namespace {

using kv::sim::Answer;
using kv::sim::Rig;
using kv::sim::Session;

constexpr int kOk = 0;
constexpr int kFailed = 1;

int Result(bool ok) { return ok ? kOk : kFailed; }

template <class Call>
bool Ask(const std::shared_ptr<const Rig>& rig, int device, Call&& call) {
    if (!rig || device < 0) return false;
    return kv::platform::Succeeded(kv::sim::win32::AskDevice(*rig, static_cast<std::size_t>(device), call).hr);
}

int ByIds(const Rig& rig, int pid, int vid) {
    const int device = rig.FindByVidPid(static_cast<std::uint16_t>(vid), static_cast<std::uint16_t>(pid));
    return device >= 0 && rig.Device(static_cast<std::size_t>(device)).config.smi ? device : -1;
}

int ByPosition(const Rig& rig, int pid, int vid, int position) {
    return rig.FindByVidPidPosition(static_cast<std::uint16_t>(vid), static_cast<std::uint16_t>(pid), position);
}

int Current(const Rig& rig) {
    const std::vector<int> devices = rig.SmiDevices();
    return devices.empty() ? -1 : devices.front();
}

// The device a call addresses; -1 when there is none (or no rig).
template <class Chooser>
int Pick(const std::shared_ptr<const Rig>& rig, Chooser&& pick) {
    return rig ? pick(*rig) : -1;
}

int SetSensor(const std::shared_ptr<const Rig>& rig, int device, int reg, int value) {
    return Result(Ask(rig, device, [&](Session& s, std::size_t d) {
        return s.SmiSetSensorRegister(d, static_cast<std::uint32_t>(reg), value);
    }));
}

int GetSensor(const std::shared_ptr<const Rig>& rig, int device, int reg, int* value) {
    std::int32_t read = 0;
    const bool ok = value != nullptr && Ask(rig, device, [&](Session& s, std::size_t d) {
                        return s.SmiGetSensorRegister(d, static_cast<std::uint32_t>(reg), read);
                    });
    if (ok) *value = read;
    return Result(ok);
}

int SetGpio(const std::shared_ptr<const Rig>& rig, int device, int port, int value) {
    return Result(Ask(rig, device, [&](Session& s, std::size_t d) {
        return s.SmiSetGpio(d, static_cast<std::uint32_t>(port), value);
    }));
}

int GetGpio(const std::shared_ptr<const Rig>& rig, int device, int port, int* value) {
    std::int32_t read = 0;
    const bool ok = value != nullptr && Ask(rig, device, [&](Session& s, std::size_t d) {
                        return s.SmiGetGpio(d, static_cast<std::uint32_t>(port), read);
                    });
    if (ok) *value = read;
    return Result(ok);
}

}  // namespace

extern "C" {

int __cdecl SMI_CreateDeviceObject() {
    const auto rig = kv::sim::win32::CurrentRig();
    return Result(Ask(rig, Pick(rig, Current), [](Session& s, std::size_t d) { return s.SmiCreateDevice(d); }));
}

int __cdecl SMI_DestoryDeviceObject() { return kOk; }

int __cdecl SMI_SetSensorRegister(int reg, int value) {
    const auto rig = kv::sim::win32::CurrentRig();
    return SetSensor(rig, Pick(rig, Current), reg, value);
}

int __cdecl SMI_SetSensorRegisterByVidPid(int reg, int value, int pid, int vid) {
    const auto rig = kv::sim::win32::CurrentRig();
    return SetSensor(rig, Pick(rig, [&](const Rig& r) { return ByIds(r, pid, vid); }), reg, value);
}

int __cdecl SMI_SetSensorRegisterByVidPidIdx(int reg, int value, int pid, int vid, int position) {
    const auto rig = kv::sim::win32::CurrentRig();
    return SetSensor(rig, Pick(rig, [&](const Rig& r) { return ByPosition(r, pid, vid, position); }), reg, value);
}

int __cdecl SMI_GetSensorRegister(int reg, int* value) {
    const auto rig = kv::sim::win32::CurrentRig();
    return GetSensor(rig, Pick(rig, Current), reg, value);
}

int __cdecl SMI_GetSensorRegisterByVidPid(int reg, int* value, int pid, int vid) {
    const auto rig = kv::sim::win32::CurrentRig();
    return GetSensor(rig, Pick(rig, [&](const Rig& r) { return ByIds(r, pid, vid); }), reg, value);
}

int __cdecl SMI_GetSensorRegisterByVidPidIdx(int reg, int* value, int pid, int vid, int position) {
    const auto rig = kv::sim::win32::CurrentRig();
    return GetSensor(rig, Pick(rig, [&](const Rig& r) { return ByPosition(r, pid, vid, position); }), reg, value);
}

int __cdecl SMI_SetGPIOValue(int port, int value) {
    const auto rig = kv::sim::win32::CurrentRig();
    return SetGpio(rig, Pick(rig, Current), port, value);
}

int __cdecl SMI_GetGPIOValue(int port, int* value) {
    const auto rig = kv::sim::win32::CurrentRig();
    return GetGpio(rig, Pick(rig, Current), port, value);
}

int __cdecl SMI_SetGPIOValueByVidPid(int port, int value, int pid, int vid) {
    const auto rig = kv::sim::win32::CurrentRig();
    return SetGpio(rig, Pick(rig, [&](const Rig& r) { return ByIds(r, pid, vid); }), port, value);
}

int __cdecl SMI_SetGPIOValueByVidPidIdx(int port, int value, int pid, int vid, int position) {
    const auto rig = kv::sim::win32::CurrentRig();
    return SetGpio(rig, Pick(rig, [&](const Rig& r) { return ByPosition(r, pid, vid, position); }), port, value);
}

int __cdecl SMI_GetGPIOValueByVidPid(int port, int* value, int pid, int vid) {
    const auto rig = kv::sim::win32::CurrentRig();
    return GetGpio(rig, Pick(rig, [&](const Rig& r) { return ByIds(r, pid, vid); }), port, value);
}

int __cdecl SMI_GetGPIOValueByVidPidIdx(int port, int* value, int pid, int vid, int position) {
    const auto rig = kv::sim::win32::CurrentRig();
    return GetGpio(rig, Pick(rig, [&](const Rig& r) { return ByPosition(r, pid, vid, position); }), port, value);
}

// Rendering, snapshots, auto focus, the EEPROM and the id query are not part
// of the model, and their arguments are not known here: they touch none and
// report failure (the caller clears the stack, so any arguments are safe).
int __cdecl SMI_CreateVideoRender() { return kFailed; }
int __cdecl SMI_GetVIDPID() { return kFailed; }
int __cdecl SMI_SnapshotCurrentResolution() { return kFailed; }
int __cdecl SMI_SnapshotMaxResolution() { return kFailed; }
int __cdecl SMI_SnapshotMaxResolutionAutoMode() { return kFailed; }
int __cdecl SMI_SnapshotUserDefineResolution() { return kFailed; }
int __cdecl SMI_SnapshotUserDefineResolutionAutoMode() { return kFailed; }
int __cdecl SMI_StillPinSnapshot() { return kFailed; }
int __cdecl SMI_DoOV3640AF_Reset() { return kFailed; }
int __cdecl SMI_DoOV3640AF_ShowFrame() { return kFailed; }
int __cdecl SMI_DoOV3640AF_HideFrame() { return kFailed; }
int __cdecl SMI_DoOV3640AF_Once() { return kFailed; }
int __cdecl SMI_DoOV3640AF_Continue() { return kFailed; }
int __cdecl SMI_GetEEPROMVersion() { return kFailed; }

}  // extern "C"
