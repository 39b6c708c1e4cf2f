// The per-process copy of a rig's state and its generation check.
#include "sim/rig/StateCache.h"

#include <atomic>
#include <chrono>

#include "sim/rig/Rig.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kv::sim {

namespace {

std::uint64_t Mix(std::uint64_t x) {  // splitmix64's finaliser
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Differs between processes: no two living processes share an id, and a
// process that gets an id again starts at another time.
std::uint64_t ProcessSeed() {
#ifdef _WIN32
    const std::uint64_t pid = GetCurrentProcessId();
#else
    const std::uint64_t pid = static_cast<std::uint64_t>(::getpid());
#endif
    const auto now = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    return Mix(now) ^ Mix(pid << 1 | 1);
}

// One count for the whole process: two copies of one rig (a rig loaded again
// after an edit, or tests that play two processes) must never hand out the
// same number.
std::uint64_t NewGeneration() {
    static const std::uint64_t seed = ProcessSeed();
    static std::atomic<std::uint64_t> made{0};
    std::uint64_t generation = 0;
    while (generation == 0) generation = Mix(seed + 0x9E3779B97F4A7C15ull * ++made);
    return generation;
}

}  // namespace

RigState* StateCache::Load(const Rig& rig, bool& fresh, std::string& error) {
    fresh = false;
    const std::uint64_t generation = lock_.ReadGeneration();
    const std::optional<FileStamp> stamp = StampOf(rig.statePath());
    if (current_ && generation == generation_ && stamp == stamp_) return &state_;
    current_ = false;
    if (!LoadState(rig, state_, fresh, error)) return nullptr;
    deviceTexts_.assign(state_.cameras.size(), std::string());
    // A state that starts afresh is not the file's until it is saved.
    if (!fresh && stamp) {
        current_ = true;
        generation_ = generation;
        stamp_ = stamp;
    }
    return &state_;
}

void StateCache::DeviceChanged(std::size_t device) {
    if (device < deviceTexts_.size()) deviceTexts_[device].clear();
}

void StateCache::Replace(RigState state) {
    state_ = std::move(state);
    deviceTexts_.assign(state_.cameras.size(), std::string());
}

std::string StateCache::Text(const Rig& rig) {
    deviceTexts_.resize(state_.cameras.size());
    deviceParts_.resize(state_.cameras.size());
    for (std::size_t i = 0; i < deviceTexts_.size(); ++i) {
        if (deviceTexts_[i].empty()) deviceTexts_[i] = DeviceText(rig, state_.cameras[i], i, deviceParts_[i]);
    }
    return StateText(rig, state_.sequence, deviceTexts_);
}

bool StateCache::Save(const Rig& rig, std::string& error) {
    current_ = false;
    // The new generation goes first: should the state's rewrite fail half
    // way, other processes still see that their copies are outdated.
    const std::uint64_t generation = NewGeneration();
    if (!lock_.WriteGeneration(generation, error) || !RewriteInPlace(rig.statePath(), Text(rig), error)) return false;
    stamp_ = StampOf(rig.statePath());
    generation_ = generation;
    current_ = stamp_.has_value();
    return true;
}

}  // namespace kv::sim
