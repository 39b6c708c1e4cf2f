// The state file of a rig: every camera's state, the rig fingerprint it was
// made from, and the sequence number of the next request.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/hw/CameraState.h"
#include "sim/rig/Rig.h"
#include "sim/rig/StateJson.h"

namespace kv::sim {

struct RigState {
    std::uint64_t sequence = 0;
    std::vector<CameraState> cameras;
};

RigState InitialState(const Rig& rig);

// Reads the state file; a missing file, or one made from another version of
// the rig, gives the initial state and sets `fresh` (the trace, whose
// sequence numbers start again with it, is then the old rig's). False with
// `error` when it is unreadable or not a state of this rig, and when the
// state is another version's because `rig` itself is outdated (its file was
// edited since it was read).
bool LoadState(const Rig& rig, RigState& state, bool& fresh, std::string& error);

// The state file's text, put together from each device's part (DeviceText)
// so that a save redoes only the parts of the devices that changed.
// What DeviceText made last for one device, piece by piece: the state it
// showed and the members of each part of it.
struct DeviceTextParts {
    std::optional<CameraState> shown;
    std::array<std::string, kStateParts> members;
};
// `parts` keeps the pieces between calls: only the parts of the state that
// differ from what it showed are serialised again.
std::string DeviceText(const Rig& rig, const CameraState& camera, std::size_t index, DeviceTextParts& parts);
std::string StateText(const Rig& rig, std::uint64_t sequence, const std::vector<std::string>& deviceTexts);

}  // namespace kv::sim
