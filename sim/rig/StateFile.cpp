// State file: format, fingerprint check, loading and saving.
#include "sim/rig/StateFile.h"

#include <nlohmann/json.hpp>

#include "sim/rig/FileIo.h"
#include "sim/rig/JsonField.h"
#include "sim/rig/StateJson.h"

namespace kv::sim {

namespace {

constexpr const char* kFormat = "kvsim-state-1";

bool ParseState(const Rig& rig, const std::string& text, RigState& state, bool& stale) {
    const nlohmann::json document = nlohmann::json::parse(text);
    const JsonField root(document, "");
    if (root["format"].Text() != kFormat) root["format"].Fail("not a state of this simulator version");
    if (root["rig"].Text() != rig.fingerprint()) {
        stale = true;
        return true;
    }
    state.sequence = static_cast<std::uint64_t>(root["sequence"].Integer(0, INT64_MAX));
    const JsonField devices = root["devices"];
    devices.RequireArray();
    if (devices.json().size() != rig.DeviceCount()) devices.Fail("does not match the rig's devices");
    state.cameras.clear();
    for (std::size_t i = 0; i < rig.DeviceCount(); ++i) {
        state.cameras.push_back(CameraStateFromJson(rig.Device(i).config, devices.At(i).json(), devices.At(i).path()));
    }
    return true;
}

}  // namespace

RigState InitialState(const Rig& rig) {
    RigState state;
    for (std::size_t i = 0; i < rig.DeviceCount(); ++i) state.cameras.push_back(rig.Device(i).initial);
    return state;
}

bool LoadState(const Rig& rig, RigState& state, bool& fresh, std::string& error) {
    fresh = false;
    std::string text;
    switch (ReadWholeFile(rig.statePath(), text, error)) {
        case ReadResult::Missing:
            state = InitialState(rig);
            fresh = true;
            return true;
        case ReadResult::Failed: return false;
        case ReadResult::Ok: break;
    }
    bool stale = false;
    try {
        ParseState(rig, text, state, stale);
    } catch (const nlohmann::json::exception& e) {
        error = rig.statePath().string() + ": not a valid state file (" + e.what() + "); `kvsim reset` starts afresh";
        return false;
    } catch (const FieldError& e) {
        error = rig.statePath().string() + ": " + e.what() + "; `kvsim reset` starts afresh";
        return false;
    }
    if (stale && rig.FileChanged()) {
        // The state is the edited rig's and this process holds the older
        // version: starting afresh would wipe what newer processes did.
        error = rig.file().string() + ": the rig file was edited after this process loaded it";
        return false;
    }
    if (stale) state = InitialState(rig);
    fresh = stale;
    return true;
}

std::string StateText(const Rig& rig, const RigState& state) {
    nlohmann::ordered_json devices = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < state.cameras.size(); ++i) {
        nlohmann::ordered_json device{{"index", i}};
        const nlohmann::ordered_json camera = CameraStateToJson(rig.Device(i).config, state.cameras[i]);
        for (const auto& [key, value] : camera.items()) device[key] = value;
        devices.push_back(device);
    }
    const nlohmann::ordered_json document{
        {"format", kFormat}, {"rig", rig.fingerprint()}, {"sequence", state.sequence}, {"devices", devices}};
    return document.dump(2) + "\n";
}

bool SaveState(const Rig& rig, const RigState& state, std::string& error) {
    return ReplaceFileAtomically(rig.statePath(), StateText(rig, state), error);
}

}  // namespace kv::sim
