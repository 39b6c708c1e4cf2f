// The rig's lock file: opened once per process and locked exclusively around
// each request (opening it for every request cost as much as the request
// under Wine); the operating system drops the lock when the process dies.
// The lock file also carries the generation of the state it guards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace kv::sim {

class FileLock {
public:
    explicit FileLock(std::filesystem::path file) : file_(std::move(file)) {}
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Blocks until the lock is held; false with `error` when the file cannot
    // be opened or locked. A process's lock does not keep its own threads
    // out: they take turns before calling. On POSIX a lock file that was
    // removed or replaced since it was opened is opened again, so that this
    // process locks the file that the others open.
    bool Lock(std::string& error);
    void Unlock();

    // The generation number written last into the lock file (16 hexadecimal
    // digits): every save of the rig's state writes a new one first, so a
    // process that finds the number it saw last knows that nobody saved
    // since. 0 (never written) for an empty or unreadable file. Only while
    // the lock is held.
    std::uint64_t ReadGeneration() const;
    bool WriteGeneration(std::uint64_t generation, std::string& error) const;

    // Holds the lock for its own life.
    class Held {
    public:
        explicit Held(FileLock& lock) : lock_(lock), locked_(lock.Lock(error_)) {}
        ~Held() {
            if (locked_) lock_.Unlock();
        }
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;
        bool locked() const { return locked_; }
        const std::string& error() const { return error_; }

    private:
        FileLock& lock_;
        std::string error_;
        bool locked_;
    };

private:
    bool Open(std::string& error);
    void Close();

    std::filesystem::path file_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace kv::sim
