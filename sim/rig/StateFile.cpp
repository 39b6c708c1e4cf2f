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
    case ReadResult::Failed:
        return false;
    case ReadResult::Ok:
        break;
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

namespace {

// The members of an object as its dump with an indent of 2 lists them, one
// level down: "{}" has none.
std::string Members(const nlohmann::ordered_json& object) {
    const std::string text = object.dump(2);
    return text.size() > 4 ? text.substr(2, text.size() - 4) : std::string();
}

}  // namespace

std::string DeviceText(const Rig& rig, const CameraState& camera, std::size_t index, DeviceTextParts& parts) {
    for (std::size_t part = 0; part < kStateParts; ++part) {
        if (parts.shown && SamePart(*parts.shown, camera, part)) continue;
        parts.members[part] = Members(StatePartJson(rig.Device(index).config, camera, part));
    }
    parts.shown = camera;
    // The device as the whole document's dump with an indent of 2 puts it:
    // inside the "devices" array, two levels down.
    std::string device = "{\n" + Members(nlohmann::ordered_json{{"index", index}});
    for (const std::string& members : parts.members) {
        if (!members.empty()) device += ",\n" + members;
    }
    device += "\n}";
    std::string text = "    ";
    for (const char c : device) {
        text += c;
        if (c == '\n') text += "    ";
    }
    return text;
}

std::string StateText(const Rig& rig, std::uint64_t sequence, const std::vector<std::string>& deviceTexts) {
    std::string text = std::string("{\n  \"format\": \"") + kFormat + "\",\n  \"rig\": \"" + rig.fingerprint() +
                       "\",\n  \"sequence\": " + std::to_string(sequence) + ",\n  \"devices\": [";
    for (std::size_t i = 0; i < deviceTexts.size(); ++i) text += (i == 0 ? "\n" : ",\n") + deviceTexts[i];
    text += deviceTexts.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return text;
}

}  // namespace kv::sim
