// Reconciling the remembered camera table with what an open found.
#include "ctrl/xulib/SlotTable.h"

#include <algorithm>
#include <optional>

#include "wire/Limits.h"

namespace kv::ctrl::xulib {

namespace {

DeviceSlot SlotOf(const FoundCamera& camera) { return {camera.devicePath, camera.link->Kind(), camera.link}; }

// The found camera that is this slot's, not yet taken by an earlier slot.
std::optional<std::size_t> MatchOf(const DeviceSlot& slot, const std::vector<FoundCamera>& found,
                                   const std::vector<bool>& taken) {
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (!taken[i] && found[i].devicePath == slot.devicePath && found[i].link->Kind() == slot.kind) return i;
    }
    return std::nullopt;
}

}  // namespace

void Reconcile(std::vector<DeviceSlot>& slots, const std::vector<FoundCamera>& allFound) {
    const std::vector<FoundCamera> found(
        allFound.begin(), allFound.begin() + static_cast<std::ptrdiff_t>(std::min(allFound.size(), wire::kMaxCameras)));
    std::vector<bool> taken(found.size(), false);
    // The remembered cameras that are back come first, in their old order:
    // when all are back that is their old indexes, otherwise the rebuilt
    // table. The new ones follow.
    std::vector<DeviceSlot> kept;
    for (const DeviceSlot& slot : slots) {
        const auto match = MatchOf(slot, found, taken);
        if (!match) continue;
        taken[*match] = true;
        kept.push_back(SlotOf(found[*match]));
    }
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (!taken[i]) kept.push_back(SlotOf(found[i]));
    }
    slots = std::move(kept);
}

}  // namespace kv::ctrl::xulib
