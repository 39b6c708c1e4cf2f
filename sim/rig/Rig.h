// A loaded rig: its devices, the files that hold its state and trace, and
// the look-ups the stand-in libraries use to find their camera.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "sim/rig/RigDescription.h"

namespace kv::sim {

class StateCache;

class Rig {
public:
    // Nothing, with `error` naming the file and the field, when the rig
    // cannot be read.
    static std::unique_ptr<Rig> Load(const std::filesystem::path& file, std::string& error);
    // A rig from text already in memory (tests); the files go beside `file`.
    static std::unique_ptr<Rig> FromText(const std::filesystem::path& file, const std::string& text,
                                         std::string& error);
    ~Rig();
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    const RigDescription& description() const { return description_; }
    const std::filesystem::path& file() const { return file_; }
    // <rig without .json>.state.json, .trace.jsonl and .lock, beside the rig.
    const std::filesystem::path& statePath() const { return statePath_; }
    const std::filesystem::path& tracePath() const { return tracePath_; }
    const std::filesystem::path& lockPath() const { return lockPath_; }
    // Identifies the rig text, so that a state file made from another
    // version of the rig is not taken for this one's.
    const std::string& fingerprint() const { return fingerprint_; }
    // True when the rig file now holds other text than this rig was read
    // from: the rig was edited after this process loaded it. False when the
    // file cannot be read (nothing newer is known then).
    bool FileChanged() const;
    // This process's copy of the rig's state (see StateCache): it belongs to
    // the loaded rig, so a rig loaded again after an edit starts without one.
    StateCache& stateCache() const { return *stateCache_; }

    std::size_t DeviceCount() const { return description_.devices.size(); }
    const RigDevice& Device(std::size_t index) const { return description_.devices.at(index); }

    // The first device with these ids; -1 when none.
    int FindByVidPid(std::uint16_t vid, std::uint16_t pid) const;
    // The device at `position` of the program's camera table for vendor
    // `vid` (the devices whose lower-cased device path holds "vid_xxxx" after
    // its first character, in enumeration order), when it has product id
    // `pid`; -1 otherwise.
    int FindByVidPidPosition(std::uint16_t vid, std::uint16_t pid, int position) const;
    // Devices of the SMIUtility family, of the ClientPropertyPageLIB family,
    // and those that the USB library lists, in enumeration order.
    std::vector<int> SmiDevices() const;
    std::vector<int> AsicLibDevices() const;
    std::vector<int> DirectUsbDevices() const;

private:
    Rig(std::filesystem::path file, RigDescription description, const std::string& text);

    std::filesystem::path file_;
    RigDescription description_;
    std::filesystem::path statePath_;
    std::filesystem::path tracePath_;
    std::filesystem::path lockPath_;
    std::string fingerprint_;
    std::unique_ptr<StateCache> stateCache_;
};

// The rig a program uses when it is not told one: $KV_SIM_RIG, else the
// demo rig as seen from the source tree's root (sim/rigs/demo.json, relative:
// no path of the build machine is built into a program).
std::filesystem::path DefaultRigPath();

}  // namespace kv::sim
