// Sync port on POSIX: a named mutex is an exclusive flock on a lock file in
// the temporary folder. Each wait opens the file anew, so that two threads
// of one process exclude each other as two processes do, and a process that
// dies releases its lock with its file.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {

namespace {

std::string LockFilePath(const std::string& name) {
    const char* folder = std::getenv("TMPDIR");
    std::string path = folder != nullptr && *folder != '\0' ? folder : "/tmp";
    path += "/kv-mutex-";
    for (const char c : name) path += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return path + ".lock";
}

// The lock each thread holds is its own open file; the object keeps them by
// thread, as the platform's mutexes are owned by threads.
class FlockMutex : public NamedMutex {
public:
    explicit FlockMutex(std::string path) : m_path(std::move(path)) {}
    ~FlockMutex() override {
        for (const auto& [thread, fd] : m_held) ::close(fd);
    }

    MutexWait Wait(unsigned milliseconds) override {
        const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return MutexWait::Failed;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        for (;;) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_held[std::this_thread::get_id()] = fd;
                return MutexWait::Acquired;
            }
            if (errno != EWOULDBLOCK && errno != EINTR) break;
            if (std::chrono::steady_clock::now() >= deadline) {
                ::close(fd);
                return MutexWait::TimedOut;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ::close(fd);
        return MutexWait::Failed;
    }

    void Release() override {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto held = m_held.find(std::this_thread::get_id());
        if (held == m_held.end()) return;
        ::close(held->second);  // drops the lock
        m_held.erase(held);
    }

private:
    std::string m_path;
    std::mutex m_mutex;
    std::map<std::thread::id, int> m_held;
};

}  // namespace

std::shared_ptr<NamedMutex> PosixSync::CreateNamedMutex(const std::string& name) {
    const std::string path = LockFilePath(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    ::close(fd);
    return std::make_shared<FlockMutex>(path);
}

}  // namespace kv::platform::posix
