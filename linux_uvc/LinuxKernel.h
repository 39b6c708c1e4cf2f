// The one seam between the Linux camera adapters and the kernel: sysfs reads,
// device nodes and their ioctls. Everything above it runs unchanged against
// a fake in unit tests and against a mocked kernel (which intercepts these
// same calls) end to end.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kv::platform::linux_uvc {

class LinuxKernel {
public:
    virtual ~LinuxKernel() = default;
    // A sysfs attribute's bytes as they are (descriptors are binary);
    // nothing when it cannot be read.
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // A symbolic link's target as stored (often relative); nothing for a
    // path that is not a link.
    virtual std::optional<std::string> ReadLink(const std::string& path) = 0;
    // The entries of a directory, without "." and ".."; empty when it
    // cannot be listed.
    virtual std::vector<std::string> ListDirectory(const std::string& path) = 0;
    // A device node opened for reading and writing: a descriptor, or -1 with
    // the errno in `error`.
    virtual int Open(const std::string& path, int& error) = 0;
    // 0, or the errno the call failed with.
    virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
    virtual void Close(int fd) = 0;
};

// The real calls.
class SystemKernel : public LinuxKernel {
public:
    std::optional<std::string> ReadFile(const std::string& path) override;
    std::optional<std::string> ReadLink(const std::string& path) override;
    std::vector<std::string> ListDirectory(const std::string& path) override;
    int Open(const std::string& path, int& error) override;
    int Ioctl(int fd, unsigned long request, void* argument) override;
    void Close(int fd) override;
};

// A node open for as long as the object lives.
class OpenNode {
public:
    OpenNode(LinuxKernel& kernel, int fd) : m_kernel(kernel), m_fd(fd) {}
    ~OpenNode() {
        if (m_fd >= 0) m_kernel.Close(m_fd);
    }
    OpenNode(const OpenNode&) = delete;
    OpenNode& operator=(const OpenNode&) = delete;

    int Ioctl(unsigned long request, void* argument) { return m_kernel.Ioctl(m_fd, request, argument); }

private:
    LinuxKernel& m_kernel;
    int m_fd;
};

}  // namespace kv::platform::linux_uvc
