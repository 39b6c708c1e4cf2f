// File locking: flock on POSIX, LockFileEx on Windows.
#include "sim/rig/FileLock.h"

#include <cstdio>
#include <cstdlib>
#include <string>

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

#ifdef _WIN32

FileLock::FileLock(const std::filesystem::path& file) : file_(file) {
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
    if (handle_ != nullptr && WriteFile(static_cast<HANDLE>(handle_), text.data(), static_cast<DWORD>(text.size()),
                                        &written, &at) && written == text.size()) {
        return true;
    }
    error = file_.string() + ": cannot be written (error " + std::to_string(GetLastError()) + ")";
    return false;
}

FileLock::~FileLock() {
    if (handle_ == nullptr) return;
    OVERLAPPED overlapped{};
    UnlockFileEx(static_cast<HANDLE>(handle_), 0, MAXDWORD, MAXDWORD, &overlapped);
    CloseHandle(static_cast<HANDLE>(handle_));
}

#else

FileLock::FileLock(const std::filesystem::path& file) : file_(file) {
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

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
}

#endif

}  // namespace kv::sim
