// The stand-in ClientPropertyPageLIB entry points on a rig.
#include "sim/rig/AsicLibStandIn.h"

#include <cstdint>
#include <vector>

namespace kv::sim::asiclib {

bool StandIn::Ask(const DeviceCall& call) {
    if (rig_ == nullptr) return false;
    const std::vector<int> devices = rig_->AsicLibDevices();
    if (devices.empty()) return false;
    return platform::Succeeded(ask_(static_cast<std::size_t>(devices.front()), call).hr);
}

int StandIn::Initial() {
    const bool open = Ask([](Session& s, std::size_t d) { return s.AsicLibInit(d); });
    library_.open = open;
    return open ? 1 : 0;
}

int StandIn::ReadAsic(long reg, long* value) {
    if (!library_.open || value == nullptr) return 0;
    std::int32_t read = 0;
    const bool ok =
        Ask([&](Session& s, std::size_t d) { return s.AsicRead(d, static_cast<std::uint32_t>(reg), read); });
    if (ok) *value = read;
    return ok ? 1 : 0;
}

int StandIn::WriteAsic(long reg, long value) {
    if (!library_.open) return 0;
    return Ask([&](Session& s, std::size_t d) {
        return s.AsicWrite(d, static_cast<std::uint32_t>(reg), static_cast<std::int32_t>(value));
    })
               ? 1
               : 0;
}

void StandIn::Uninitial() {
    if (!library_.open.exchange(false)) return;
    Ask([](Session& s, std::size_t d) { return s.AsicLibUninit(d); });
}

}  // namespace kv::sim::asiclib
