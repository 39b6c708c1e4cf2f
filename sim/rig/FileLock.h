// An exclusive lock on a lock file, held for the life of the object; the
// operating system drops it when the process dies. The lock file also
// carries the generation of the state it guards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace kv::sim {

class FileLock {
public:
    // Blocks until the lock is held; on failure locked() is false and
    // error() says why.
    explicit FileLock(const std::filesystem::path& file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool locked() const { return locked_; }

    // The generation number written last into the lock file (16 hexadecimal
    // digits): every save of the rig's state writes a new one first, so a
    // process that finds the number it saw last knows that nobody saved
    // since. 0 (never written) for an empty or unreadable file.
    std::uint64_t ReadGeneration() const;
    bool WriteGeneration(std::uint64_t generation, std::string& error) const;

    const std::string& error() const { return error_; }

private:
    std::filesystem::path file_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    bool locked_ = false;
    std::string error_;
};

}  // namespace kv::sim
