// File locking: flock on POSIX, LockFileEx on Windows; the generation number.
#include "sim/rig/FileLock.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kv::sim {

namespace {

constexpr std::size_t kGenerationDigits = 16;

std::uint64_t ParseGeneration(const char* text, std::size_t length) {
    if (length != kGenerationDigits) return 0;
    const std::string digits(text, length);
    char* end = nullptr;
    const unsigned long long value = std::strtoull(digits.c_str(), &end, 16);
    return end == digits.c_str() + length ? static_cast<std::uint64_t>(value) : 0;
}

std::string GenerationText(std::uint64_t generation) {
    char text[kGenerationDigits + 1];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generation));
    return std::string(text, kGenerationDigits);
}

}  // namespace

FileLock::~FileLock() { Close(); }

#ifdef _WIN32

bool FileLock::Open(std::string& error) {
    if (handle_ != nullptr) return true;
    // Others may delete it (a rig folder is cleared between tests): on
    // Windows the deletion then waits until this handle is closed.
    const HANDLE h = CreateFileW(file_.wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = file_.string() + ": cannot open the lock file (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    handle_ = h;
    return true;
}

void FileLock::Close() {
    if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

bool FileLock::Lock(std::string& error) {
    if (!Open(error)) return false;
    OVERLAPPED overlapped{};
    if (LockFileEx(static_cast<HANDLE>(handle_), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &overlapped)) {
        return true;
    }
    error = file_.string() + ": cannot lock (error " + std::to_string(GetLastError()) + ")";
    Close();
    return false;
}

void FileLock::Unlock() {
    OVERLAPPED overlapped{};
    UnlockFileEx(static_cast<HANDLE>(handle_), 0, MAXDWORD, MAXDWORD, &overlapped);
}

std::uint64_t FileLock::ReadGeneration() const {
    if (handle_ == nullptr) return 0;
    char text[kGenerationDigits];
    OVERLAPPED at{};  // offset 0; the lock is this handle's, so the range is readable through it
    DWORD read = 0;
    if (!ReadFile(static_cast<HANDLE>(handle_), text, sizeof text, &read, &at)) return 0;
    return ParseGeneration(text, read);
}

bool FileLock::WriteGeneration(std::uint64_t generation, std::string& error) const {
    const std::string text = GenerationText(generation);
    OVERLAPPED at{};
    DWORD written = 0;
    if (handle_ != nullptr &&
        WriteFile(static_cast<HANDLE>(handle_), text.data(), static_cast<DWORD>(text.size()), &written, &at) &&
        written == text.size()) {
        return true;
    }
    error = file_.string() + ": cannot be written (error " + std::to_string(GetLastError()) + ")";
    return false;
}

#else

namespace {

// True when `fd` is the file that `path` names now.
bool StillNamed(int fd, const std::filesystem::path& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

}  // namespace

bool FileLock::Open(std::string& error) {
    if (fd_ >= 0) return true;
    fd_ = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ >= 0) return true;
    error = file_.string() + ": cannot open the lock file (" + std::strerror(errno) + ")";
    return false;
}

void FileLock::Close() {
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
    fd_ = -1;
}

bool FileLock::Lock(std::string& error) {
    // A file removed (or replaced) since it was opened is one that other
    // processes no longer lock: open the one the path names now.
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (!Open(error)) return false;
        int rc = 0;
        do {
            rc = ::flock(fd_, LOCK_EX);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            error = file_.string() + ": cannot lock (" + std::strerror(errno) + ")";
            Close();
            return false;
        }
        if (StillNamed(fd_, file_)) return true;
        Close();
    }
    error = file_.string() + ": the lock file keeps being replaced";
    return false;
}

void FileLock::Unlock() { ::flock(fd_, LOCK_UN); }

std::uint64_t FileLock::ReadGeneration() const {
    if (fd_ < 0) return 0;
    char text[kGenerationDigits];
    const ssize_t n = ::pread(fd_, text, sizeof text, 0);
    return n > 0 ? ParseGeneration(text, static_cast<std::size_t>(n)) : 0;
}

bool FileLock::WriteGeneration(std::uint64_t generation, std::string& error) const {
    const std::string text = GenerationText(generation);
    if (fd_ >= 0 && ::pwrite(fd_, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size())) return true;
    error = file_.string() + ": cannot be written (" + std::strerror(errno) + ")";
    return false;
}

#endif

}  // namespace kv::sim
