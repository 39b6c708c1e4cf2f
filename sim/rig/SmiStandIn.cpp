// The stand-in SMIUtility entry points on a rig.
#include "sim/rig/SmiStandIn.h"

#include <cstdint>

namespace kv::sim::smi {

namespace {

int Result(bool ok) { return ok ? kOk : kFailed; }

}  // namespace

int StandIn::Current() const { return rig_ == nullptr ? -1 : library_.opened.load(); }

bool StandIn::OfFamily(int device) const {
    return rig_ != nullptr && device >= 0 && static_cast<std::size_t>(device) < rig_->DeviceCount() &&
           rig_->Device(static_cast<std::size_t>(device)).config.smi;
}

int StandIn::ByIds(int pid, int vid) const {
    if (rig_ == nullptr) return -1;
    const int device = rig_->FindByVidPid(static_cast<std::uint16_t>(vid), static_cast<std::uint16_t>(pid));
    return device >= 0 && rig_->Device(static_cast<std::size_t>(device)).config.smi ? device : -1;
}

int StandIn::ByPosition(int pid, int vid, int position) const {
    if (rig_ == nullptr) return -1;
    return rig_->FindByVidPidPosition(static_cast<std::uint16_t>(vid), static_cast<std::uint16_t>(pid), position);
}

bool StandIn::Ask(int device, const DeviceCall& call) {
    if (rig_ == nullptr || device < 0) return false;
    return platform::Succeeded(ask_(static_cast<std::size_t>(device), call).hr);
}

int StandIn::SetSensor(int device, int reg, int value) {
    return Result(Ask(device, [&](Session& s, std::size_t d) {
        return s.SmiSetSensorRegister(d, static_cast<std::uint32_t>(reg), value);
    }));
}

int StandIn::GetSensor(int device, int reg, int* value) {
    std::int32_t read = 0;
    const bool ok = value != nullptr && Ask(device, [&](Session& s, std::size_t d) {
                        return s.SmiGetSensorRegister(d, static_cast<std::uint32_t>(reg), read);
                    });
    if (ok) *value = read;
    return Result(ok);
}

int StandIn::SetGpio(int device, int port, int value) {
    return Result(Ask(
        device, [&](Session& s, std::size_t d) { return s.SmiSetGpio(d, static_cast<std::uint32_t>(port), value); }));
}

int StandIn::GetGpio(int device, int port, int* value) {
    std::int32_t read = 0;
    const bool ok = value != nullptr && Ask(device, [&](Session& s, std::size_t d) {
                        return s.SmiGetGpio(d, static_cast<std::uint32_t>(port), read);
                    });
    if (ok) *value = read;
    return Result(ok);
}

int StandIn::CreateDeviceObject(int boundDevice) {
    library_.opened = -1;
    if (!OfFamily(boundDevice)) return kFailed;
    if (!Ask(boundDevice, [](Session& s, std::size_t d) { return s.SmiCreateDevice(d); })) return kFailed;
    library_.opened = boundDevice;
    return kOk;
}

int StandIn::DestroyDeviceObject() {
    library_.opened = -1;
    return kOk;
}

int StandIn::SetSensorRegister(int reg, int value) { return SetSensor(Current(), reg, value); }
int StandIn::SetSensorRegisterByVidPid(int reg, int value, int pid, int vid) {
    return SetSensor(ByIds(pid, vid), reg, value);
}
int StandIn::SetSensorRegisterByVidPidIdx(int reg, int value, int pid, int vid, int position) {
    return SetSensor(ByPosition(pid, vid, position), reg, value);
}
int StandIn::GetSensorRegister(int reg, int* value) { return GetSensor(Current(), reg, value); }
int StandIn::GetSensorRegisterByVidPid(int reg, int* value, int pid, int vid) {
    return GetSensor(ByIds(pid, vid), reg, value);
}
int StandIn::GetSensorRegisterByVidPidIdx(int reg, int* value, int pid, int vid, int position) {
    return GetSensor(ByPosition(pid, vid, position), reg, value);
}

int StandIn::SetGpioValue(int port, int value) { return SetGpio(Current(), port, value); }
int StandIn::SetGpioValueByVidPid(int port, int value, int pid, int vid) {
    return SetGpio(ByIds(pid, vid), port, value);
}
int StandIn::SetGpioValueByVidPidIdx(int port, int value, int pid, int vid, int position) {
    return SetGpio(ByPosition(pid, vid, position), port, value);
}
int StandIn::GetGpioValue(int port, int* value) { return GetGpio(Current(), port, value); }
int StandIn::GetGpioValueByVidPid(int port, int* value, int pid, int vid) {
    return GetGpio(ByIds(pid, vid), port, value);
}
int StandIn::GetGpioValueByVidPidIdx(int port, int* value, int pid, int vid, int position) {
    return GetGpio(ByPosition(pid, vid, position), port, value);
}

}  // namespace kv::sim::smi
