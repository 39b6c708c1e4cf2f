// File reads and writes of the rig's state and trace.
#include "sim/rig/FileIo.h"

#include <fstream>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kv::sim {

namespace {

bool WriteStream(const std::filesystem::path& file, std::string_view text, std::ios::openmode mode,
                 std::string& error) {
    std::ofstream out(file, mode | std::ios::binary);
    if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (out) out.close();
    if (!out) {
        error = file.string() + ": cannot be written";
        return false;
    }
    return true;
}

// The text, padded with blanks (which JSON allows after the value) to the
// length the file has now.
std::string Padded(std::string_view text, std::uint64_t oldSize) {
    std::string padded(text);
    if (oldSize > padded.size()) padded.append(static_cast<std::size_t>(oldSize) - padded.size(), ' ');
    return padded;
}

#ifdef _WIN32

std::string Win32Error(const std::filesystem::path& file, const char* what) {
    return file.string() + ": " + what + " (error " + std::to_string(GetLastError()) + ")";
}

bool WriteAtStart(HANDLE h, const std::filesystem::path& file, std::string_view text, std::string& error) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size)) {
        error = Win32Error(file, "cannot be examined");
        return false;
    }
    const std::string padded = Padded(text, static_cast<std::uint64_t>(size.QuadPart));
    OVERLAPPED at{};  // offset 0
    DWORD written = 0;
    if (!WriteFile(h, padded.data(), static_cast<DWORD>(padded.size()), &written, &at) || written != padded.size()) {
        error = Win32Error(file, "cannot be written");
        return false;
    }
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(text.size());
    if (padded.size() > text.size() && !(SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h))) {
        error = Win32Error(file, "cannot be cut to length");
        return false;
    }
    return true;
}

#else

// Holds back the signals that end a process (an interrupted console run)
// while the state file is rewritten in place; SIGKILL cannot be held.
class TerminationHeld {
public:
    TerminationHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    ~TerminationHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    TerminationHeld(const TerminationHeld&) = delete;
    TerminationHeld& operator=(const TerminationHeld&) = delete;

private:
    sigset_t previous_;
};

bool WriteAtStart(int fd, const std::filesystem::path& file, std::string_view text, std::string& error) {
    struct stat before {};
    if (::fstat(fd, &before) != 0) {
        error = file.string() + ": cannot be examined (" + std::strerror(errno) + ")";
        return false;
    }
    const std::string padded = Padded(text, static_cast<std::uint64_t>(before.st_size));
    const TerminationHeld held;
    for (std::size_t done = 0; done < padded.size();) {
        const ssize_t n = ::pwrite(fd, padded.data() + done, padded.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = file.string() + ": cannot be written (" + std::strerror(errno) + ")";
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (padded.size() > text.size() && ::ftruncate(fd, static_cast<off_t>(text.size())) != 0) {
        error = file.string() + ": cannot be cut to length (" + std::strerror(errno) + ")";
        return false;
    }
    return true;
}

#endif

}  // namespace

ReadResult ReadWholeFile(const std::filesystem::path& file, std::string& text, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return ReadResult::Missing;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = file.string() + ": cannot be read";
        return ReadResult::Failed;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return ReadResult::Ok;
}

#ifdef _WIN32

std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.wstring().c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    FileStamp stamp;
    stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.modified = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                               data.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

bool RewriteInPlace(const std::filesystem::path& file, std::string_view text, std::string& error) {
    const HANDLE h = CreateFileW(file.wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = Win32Error(file, "cannot be opened for writing");
        return false;
    }
    const bool written = WriteAtStart(h, file, text, error);
    CloseHandle(h);
    return written;
}

#else

std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return std::nullopt;
    FileStamp stamp;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changed = static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    stamp.identity = (static_cast<std::uint64_t>(info.st_dev) << 40) ^ static_cast<std::uint64_t>(info.st_ino);
    return stamp;
}

bool RewriteInPlace(const std::filesystem::path& file, std::string_view text, std::string& error) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = file.string() + ": cannot be opened for writing (" + std::strerror(errno) + ")";
        return false;
    }
    const bool written = WriteAtStart(fd, file, text, error);
    ::close(fd);
    return written;
}

#endif

bool AppendToFile(const std::filesystem::path& file, std::string_view text, std::string& error) {
    return WriteStream(file, text, std::ios::app, error);
}

bool TruncateFile(const std::filesystem::path& file, std::string& error) {
    return WriteStream(file, {}, std::ios::trunc, error);
}

}  // namespace kv::sim
