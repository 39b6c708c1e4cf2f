// An exclusive lock on a lock file, held for the life of the object; the
// operating system drops it when the process dies.
#pragma once

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
    const std::string& error() const { return error_; }

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    bool locked_ = false;
    std::string error_;
};

}  // namespace kv::sim
