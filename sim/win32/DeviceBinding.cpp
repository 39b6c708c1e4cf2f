// The filter's device binding and the requests made through it.
#include "sim/win32/DeviceBinding.h"

#include <atomic>

#include "sim/win32/StandInRig.h"

namespace kv::sim::win32 {

namespace {

std::atomic<long> g_lastBound{-1};

}  // namespace

bool DeviceBinding::Bind(std::shared_ptr<const Rig> rig, std::size_t device) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (target_) return false;
    target_ = Target{std::move(rig), device};
    g_lastBound = static_cast<long>(device);
    return true;
}

long DeviceBinding::LastBound() { return g_lastBound; }

std::optional<DeviceBinding::Target> DeviceBinding::Get() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return target_;
}

bool DeviceBinding::Offers(const char* interfaceName) const {
    const auto target = Get();
    return target && !target->Entry().listing.Lacks(interfaceName);
}

HRESULT DeviceBinding::Ask(const std::function<Answer(Session&, std::size_t)>& call, ULONG* bytesReturned) const {
    const auto target = Get();
    if (!target) return E_UNEXPECTED;
    const Answer answer = AskDevice(*target->rig, target->device, call);
    if (bytesReturned != nullptr) *bytesReturned = answer.bytesReturned;
    return static_cast<HRESULT>(answer.hr);
}

}  // namespace kv::sim::win32
