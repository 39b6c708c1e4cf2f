// The real kernel calls behind the seam.
#include "linux_uvc/LinuxKernel.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kv::platform::linux_uvc {

std::optional<std::string> SystemKernel::ReadFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ::close(fd);
            if (got < 0) return std::nullopt;
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::optional<std::string> SystemKernel::ReadLink(const std::string& path) {
    char target[4096];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof target) return std::nullopt;
    return std::string(target, static_cast<std::size_t>(length));
}

std::vector<std::string> SystemKernel::ListDirectory(const std::string& path) {
    std::vector<std::string> entries;
    DIR* directory = ::opendir(path.c_str());
    if (!directory) return entries;
    while (const dirent* entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") entries.push_back(name);
    }
    ::closedir(directory);
    return entries;
}

int SystemKernel::Open(const std::string& path, int& error) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    error = fd < 0 ? errno : 0;
    return fd;
}

int SystemKernel::Ioctl(int fd, unsigned long request, void* argument) {
    int result = -1;
    do {
        result = ::ioctl(fd, request, argument);
    } while (result < 0 && errno == EINTR);
    return result < 0 ? errno : 0;
}

void SystemKernel::Close(int fd) { ::close(fd); }

}  // namespace kv::platform::linux_uvc
