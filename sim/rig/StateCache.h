// A process's copy of its rig's state between requests, so that a request
// reads and parses the state file only when something else wrote it since,
// and a save re-serialises only the devices that changed.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/rig/FileIo.h"
#include "sim/rig/FileLock.h"
#include "sim/rig/StateFile.h"

namespace kv::sim {

class Rig;

// Every call is made with mutex() held, then the rig's file lock.
//
// The copy is used only while the lock file holds the generation this
// process wrote or read last and the state file's stamp is the one it left:
// another process's save writes a new generation first, and an edit by hand
// changes the stamp.
class StateCache {
public:
    explicit StateCache(const std::filesystem::path& lockFile) : lock_(lockFile) {}

    // Held first, then the lock file: threads of the process take turns on
    // the mutex, processes on the lock file.
    std::mutex& mutex() { return mutex_; }
    FileLock& lockFile() { return lock_; }

    // The state as the state file holds it (as LoadState, with `fresh`); null
    // with `error` when it cannot be loaded. The state stays the cache's: a
    // caller that changes a device says so with DeviceChanged, then saves.
    RigState* Load(const Rig& rig, bool& fresh, std::string& error);
    void DeviceChanged(std::size_t device);
    // Takes `state` as the whole state (a reset).
    void Replace(RigState state);
    // The state file's text for the state held.
    std::string Text(const Rig& rig);
    // Writes the state held; on failure the copy is dropped, so the next
    // request reads the file again.
    bool Save(const Rig& rig, std::string& error);

private:
    std::mutex mutex_;
    FileLock lock_;
    RigState state_;
    bool current_ = false;  // state_ is what the file held when generation_ and stamp_ were taken
    std::uint64_t generation_ = 0;
    std::optional<FileStamp> stamp_;
    std::vector<std::string> deviceTexts_;      // one per device; an empty one is redone at the next save
    std::vector<DeviceTextParts> deviceParts_;  // what each device's text was made from, part by part
};

}  // namespace kv::sim
