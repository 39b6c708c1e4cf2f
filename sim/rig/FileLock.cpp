// File locking: flock on POSIX, LockFileEx on Windows.
#include "sim/rig/FileLock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace kv::sim {

#ifdef _WIN32

FileLock::FileLock(const std::filesystem::path& file) {
    HANDLE h = CreateFileW(file.wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error_ = file.string() + ": cannot open the lock file (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    OVERLAPPED overlapped{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &overlapped)) {
        error_ = file.string() + ": cannot lock (error " + std::to_string(GetLastError()) + ")";
        CloseHandle(h);
        return;
    }
    handle_ = h;
    locked_ = true;
}

FileLock::~FileLock() {
    if (handle_ == nullptr) return;
    OVERLAPPED overlapped{};
    UnlockFileEx(static_cast<HANDLE>(handle_), 0, MAXDWORD, MAXDWORD, &overlapped);
    CloseHandle(static_cast<HANDLE>(handle_));
}

#else

FileLock::FileLock(const std::filesystem::path& file) {
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        error_ = file.string() + ": cannot open the lock file (" + std::strerror(errno) + ")";
        return;
    }
    int rc = 0;
    do {
        rc = ::flock(fd_, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        error_ = file.string() + ": cannot lock (" + std::strerror(errno) + ")";
        ::close(fd_);
        fd_ = -1;
        return;
    }
    locked_ = true;
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
}

#endif

}  // namespace kv::sim
