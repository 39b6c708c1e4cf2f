// Requests to a rig's cameras from any number of processes: each request
// takes the rig's lock, loads the state (the process's copy when nobody else
// saved since), applies the request to the model, saves the state and
// appends to the trace.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "sim/hw/Camera.h"
#include "sim/rig/Rig.h"

namespace kv::sim {

class StateCache;
struct RigState;

class Session {
public:
    explicit Session(const Rig& rig) : rig_(rig) {}

    // One transaction on device `device`: everything `call` asks of the
    // camera happens under one lock, each camera request making one trace
    // line. When the state cannot be loaded or saved, or the device index is
    // outside the rig, nothing is kept, the answer is E_FAIL, lastError()
    // says why, and the reason goes to standard error. Once the state is
    // saved the request is done: trace lines that cannot be written are
    // reported on standard error as missing from the trace. A hang in the
    // answer is for the caller to wait out, after the lock is gone.
    Answer Request(std::size_t device, const std::function<Answer(Camera&)>& call);

    // IKsControl, IKsPropertySet.
    Answer KsProperty(std::size_t device, std::span<const std::uint8_t> property, std::span<std::uint8_t> data);
    Answer PropertySetSet(std::size_t device, const platform::Guid& set, std::uint32_t id,
                          std::span<const std::uint8_t> instance, std::span<std::uint8_t> data);
    Answer PropertySetGet(std::size_t device, const platform::Guid& set, std::uint32_t id,
                          std::span<const std::uint8_t> instance, std::span<std::uint8_t> data);
    Answer PropertySetQuerySupported(std::size_t device, const platform::Guid& set, std::uint32_t id,
                                     std::uint32_t& support);
    // IAMVideoProcAmp, IAMCameraControl.
    Answer GetRange(std::size_t device, PropertyGroup group, std::int32_t property, PropertyRange& range);
    Answer Get(std::size_t device, PropertyGroup group, std::int32_t property, std::int32_t& value,
               std::int32_t& flags);
    Answer Set(std::size_t device, PropertyGroup group, std::int32_t property, std::int32_t value, std::int32_t flags);
    // Direct USB.
    Answer UsbOpen(std::size_t device);
    Answer UsbControl(std::size_t device, const UsbSetup& setup, std::span<std::uint8_t> buffer);
    // Stand-in SMIUtility.
    Answer SmiCreateDevice(std::size_t device);
    Answer SmiSetSensorRegister(std::size_t device, std::uint32_t reg, std::int32_t value);
    Answer SmiGetSensorRegister(std::size_t device, std::uint32_t reg, std::int32_t& value);
    Answer SmiSetGpio(std::size_t device, std::uint32_t port, std::int32_t value);
    Answer SmiGetGpio(std::size_t device, std::uint32_t port, std::int32_t& value);
    // Stand-in ClientPropertyPageLIB.
    Answer AsicLibInit(std::size_t device);
    Answer AsicRead(std::size_t device, std::uint32_t reg, std::int32_t& value);
    Answer AsicWrite(std::size_t device, std::uint32_t reg, std::int32_t value);
    Answer AsicLibUninit(std::size_t device);

    // What a process does once for its rig, done when the rig is opened
    // (enumeration) so that no transfer pays for it within a caller's wait:
    // the lock file opened, the state file read into the process's copy and
    // every device's part of the state text made. Nothing is written. A
    // failure is left for the first request to report.
    void Prepare();

    // The rig's initial state in the state file, and an empty trace.
    bool Reset(std::string& error);
    // The state as `kvsim dump` prints it (the initial state when no request
    // has been made yet).
    bool DumpState(std::string& text, std::string& error);
    bool ReadTrace(std::string& text, std::string& error);

    const std::string& lastError() const { return lastError_; }

private:
    std::optional<std::pair<Answer, std::string>> Apply(StateCache& cache, RigState& state, std::size_t device,
                                                        const std::function<Answer(Camera&)>& call);
    void AppendTrace(bool fresh, const std::string& lines);

    const Rig& rig_;
    std::string lastError_;
};

}  // namespace kv::sim
