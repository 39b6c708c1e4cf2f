// Locked, traced requests to a rig's cameras, and the whole-rig operations.
#include "sim/rig/Session.h"

#include <cstdio>
#include <mutex>
#include <vector>

#include "sim/rig/FileIo.h"
#include "sim/rig/FileLock.h"
#include "sim/rig/StateCache.h"
#include "sim/rig/TraceJson.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kv::sim {

namespace {

std::int64_t ProcessId() {
#ifdef _WIN32
    return static_cast<std::int64_t>(GetCurrentProcessId());
#else
    return static_cast<std::int64_t>(::getpid());
#endif
}

std::string TraceLines(RigState& state, std::size_t device, const std::vector<RequestRecord>& records) {
    std::string lines;
    for (const RequestRecord& record : records) {
        lines += TraceLine(TraceContext{state.sequence++, ProcessId(), device}, record);
        lines += '\n';
    }
    return lines;
}

// This thread's turn at the rig: the process's threads take turns on the
// copy's mutex, then processes on the lock file.
class Turn {
public:
    explicit Turn(StateCache& cache) : thread_(cache.mutex()), process_(cache.lockFile()) {}
    bool Taken(std::string& error) const {
        if (!process_.locked()) error = process_.error();
        return process_.locked();
    }

private:
    std::lock_guard<std::mutex> thread_;
    FileLock::Held process_;
};

}  // namespace

Answer Session::Request(std::size_t device, const std::function<Answer(Camera&)>& call) {
    lastError_.clear();
    if (device >= rig_.DeviceCount()) {
        lastError_ = rig_.file().string() + ": no device " + std::to_string(device);
    } else {
        StateCache& cache = rig_.stateCache();
        const Turn turn(cache);
        if (turn.Taken(lastError_)) {
            bool fresh = false;
            if (RigState* state = cache.Load(rig_, fresh, lastError_)) {
                if (const auto answer = Apply(cache, *state, device, call)) {
                    AppendTrace(fresh, answer->second);
                    return answer->first;
                }
            }
        }
    }
    std::fprintf(stderr, "kvsim: %s\n", lastError_.c_str());
    return Answer{platform::kE_FAIL, 0, 0};
}

// The request on the state held, then saved: the answer and the trace lines,
// or nothing when the state could not be saved.
std::optional<std::pair<Answer, std::string>> Session::Apply(StateCache& cache, RigState& state, std::size_t device,
                                                             const std::function<Answer(Camera&)>& call) {
    std::vector<RequestRecord> records;
    const CameraState before = state.cameras[device];
    Camera camera(rig_.Device(device).config, state.cameras[device], &records);
    const Answer answer = call(camera);
    if (!(state.cameras[device] == before)) cache.DeviceChanged(device);
    std::string lines = TraceLines(state, device, records);
    if (!cache.Save(rig_, lastError_)) return std::nullopt;
    return std::make_pair(answer, std::move(lines));
}

// The state is saved by then, so the request is done whatever becomes of its
// trace lines: a trace that cannot be written is reported as incomplete, not
// as a failed request whose change was nevertheless kept.
void Session::AppendTrace(bool fresh, const std::string& lines) {
    std::string error;
    // A state that starts afresh starts its trace afresh, as a reset does,
    // so that sequence numbers never repeat within the trace.
    if ((!fresh || TruncateFile(rig_.tracePath(), error)) && AppendToFile(rig_.tracePath(), lines, error)) return;
    std::fprintf(stderr, "kvsim: %s; the trace misses this request\n", error.c_str());
}

Answer Session::KsProperty(std::size_t device, std::span<const std::uint8_t> property, std::span<std::uint8_t> data) {
    return Request(device, [&](Camera& c) { return c.KsProperty(property, data); });
}

Answer Session::PropertySetSet(std::size_t device, const platform::Guid& set, std::uint32_t id,
                               std::span<const std::uint8_t> instance, std::span<std::uint8_t> data) {
    return Request(device, [&](Camera& c) { return c.PropertySetSet(set, id, instance, data); });
}

Answer Session::PropertySetGet(std::size_t device, const platform::Guid& set, std::uint32_t id,
                               std::span<const std::uint8_t> instance, std::span<std::uint8_t> data) {
    return Request(device, [&](Camera& c) { return c.PropertySetGet(set, id, instance, data); });
}

Answer Session::PropertySetQuerySupported(std::size_t device, const platform::Guid& set, std::uint32_t id,
                                          std::uint32_t& support) {
    return Request(device, [&](Camera& c) { return c.PropertySetQuerySupported(set, id, support); });
}

Answer Session::GetRange(std::size_t device, PropertyGroup group, std::int32_t property, PropertyRange& range) {
    return Request(device, [&](Camera& c) { return c.GetRange(group, property, range); });
}

Answer Session::Get(std::size_t device, PropertyGroup group, std::int32_t property, std::int32_t& value,
                    std::int32_t& flags) {
    return Request(device, [&](Camera& c) { return c.Get(group, property, value, flags); });
}

Answer Session::Set(std::size_t device, PropertyGroup group, std::int32_t property, std::int32_t value,
                    std::int32_t flags) {
    return Request(device, [&](Camera& c) { return c.Set(group, property, value, flags); });
}

Answer Session::UsbOpen(std::size_t device) {
    return Request(device, [&](Camera& c) { return c.UsbOpen(); });
}

Answer Session::UsbControl(std::size_t device, const UsbSetup& setup, std::span<std::uint8_t> buffer) {
    return Request(device, [&](Camera& c) { return c.UsbControl(setup, buffer); });
}

Answer Session::SmiCreateDevice(std::size_t device) {
    return Request(device, [&](Camera& c) { return c.SmiCreateDevice(); });
}

Answer Session::SmiSetSensorRegister(std::size_t device, std::uint32_t reg, std::int32_t value) {
    return Request(device, [&](Camera& c) { return c.SmiSetSensorRegister(reg, value); });
}

Answer Session::SmiGetSensorRegister(std::size_t device, std::uint32_t reg, std::int32_t& value) {
    return Request(device, [&](Camera& c) { return c.SmiGetSensorRegister(reg, value); });
}

Answer Session::SmiSetGpio(std::size_t device, std::uint32_t port, std::int32_t value) {
    return Request(device, [&](Camera& c) { return c.SmiSetGpio(port, value); });
}

Answer Session::SmiGetGpio(std::size_t device, std::uint32_t port, std::int32_t& value) {
    return Request(device, [&](Camera& c) { return c.SmiGetGpio(port, value); });
}

Answer Session::AsicLibInit(std::size_t device) {
    return Request(device, [&](Camera& c) { return c.AsicLibInit(); });
}

Answer Session::AsicRead(std::size_t device, std::uint32_t reg, std::int32_t& value) {
    return Request(device, [&](Camera& c) { return c.AsicRead(reg, value); });
}

Answer Session::AsicWrite(std::size_t device, std::uint32_t reg, std::int32_t value) {
    return Request(device, [&](Camera& c) { return c.AsicWrite(reg, value); });
}

Answer Session::AsicLibUninit(std::size_t device) {
    return Request(device, [&](Camera& c) { return c.AsicLibUninit(); });
}

void Session::Prepare() {
    StateCache& cache = rig_.stateCache();
    const Turn turn(cache);
    std::string error;
    bool fresh = false;
    if (turn.Taken(error) && cache.Load(rig_, fresh, error) != nullptr) cache.Text(rig_);
}

bool Session::Reset(std::string& error) {
    StateCache& cache = rig_.stateCache();
    const Turn turn(cache);
    if (!turn.Taken(error)) return false;
    cache.Replace(InitialState(rig_));
    return cache.Save(rig_, error) && TruncateFile(rig_.tracePath(), error);
}

bool Session::DumpState(std::string& text, std::string& error) {
    StateCache& cache = rig_.stateCache();
    const Turn turn(cache);
    if (!turn.Taken(error)) return false;
    bool fresh = false;
    if (cache.Load(rig_, fresh, error) == nullptr) return false;
    text = cache.Text(rig_);
    return true;
}

bool Session::ReadTrace(std::string& text, std::string& error) {
    StateCache& cache = rig_.stateCache();
    const Turn turn(cache);
    if (!turn.Taken(error)) return false;
    text.clear();
    return ReadWholeFile(rig_.tracePath(), text, error) != ReadResult::Failed;
}

}  // namespace kv::sim
