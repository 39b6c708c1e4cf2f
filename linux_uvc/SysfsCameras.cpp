// A class entry /sys/class/video4linux/videoN links to the node's directory
// below its USB interface (.../1-2/1-2:1.0/video4linux/videoN). The walk goes
// up that link's target rather than through the node's "device" link, which
// a mocked sysfs may not make.
#include "linux_uvc/SysfsCameras.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <tuple>

namespace kv::platform::linux_uvc {

namespace {

std::string Parent(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "a/b/../c" without asking the file system: sysfs links are relative.
std::string Normalize(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string normalized;
    for (const auto& part : parts) normalized += "/" + part;
    return normalized.empty() ? "/" : normalized;
}

std::optional<unsigned long> ReadHex(LinuxKernel& kernel, const std::string& path, unsigned long maximum) {
    const auto text = kernel.ReadFile(path);
    if (!text || text->empty() || !std::isxdigit(static_cast<unsigned char>((*text)[0]))) return std::nullopt;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text->c_str(), &end, 16);
    if (value > maximum || (*end != '\0' && *end != '\n')) return std::nullopt;
    return value;
}

// The nearest directory at or above `from`, and below the sysfs root, that
// holds `attribute`.
std::optional<std::string> Ancestor(LinuxKernel& kernel, std::string from, const std::string& attribute,
                                    const std::string& sysfsRoot) {
    while (from.size() > sysfsRoot.size() && from.compare(0, sysfsRoot.size(), sysfsRoot) == 0) {
        if (kernel.ReadFile(from + "/" + attribute)) return from;
        from = Parent(from);
    }
    return std::nullopt;
}

bool IsVideoNodeName(const std::string& name) {
    return name.size() > 5 && name.compare(0, 5, "video") == 0 &&
           std::all_of(name.begin() + 5, name.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

unsigned long NodeNumber(const std::string& node) {
    const auto digits = node.find_last_not_of("0123456789") + 1;
    return std::strtoul(node.c_str() + digits, nullptr, 10);
}

// The node's capabilities and card name; false when it does not capture video.
bool ReadsAsCapture(OpenNode& node, CameraNode& camera) {
    v4l2_capability capability{};
    if (node.Ioctl(VIDIOC_QUERYCAP, &capability) != 0) return false;
    const std::uint32_t caps =
        (capability.capabilities & V4L2_CAP_DEVICE_CAPS) != 0 ? capability.device_caps : capability.capabilities;
    if ((caps & V4L2_CAP_VIDEO_CAPTURE) == 0) return false;
    const auto* card = reinterpret_cast<const char*>(capability.card);
    camera.card.assign(card, strnlen(card, sizeof capability.card));
    return true;
}

}  // namespace

std::optional<CameraNode> ReadUsbSide(LinuxKernel& kernel, const KernelRoots& roots, const std::string& name) {
    const std::string classDir = Normalize(roots.sysfs + "/class/video4linux");
    const auto link = kernel.ReadLink(classDir + "/" + name);
    if (!link || link->empty()) return std::nullopt;
    const std::string nodeDir = Normalize(link->front() == '/' ? *link : classDir + "/" + *link);
    const std::string sysfs = Normalize(roots.sysfs);
    const auto interfaceDir = Ancestor(kernel, Parent(nodeDir), "bInterfaceNumber", sysfs);
    if (!interfaceDir) return std::nullopt;
    const auto deviceDir = Ancestor(kernel, Parent(*interfaceDir), "idVendor", sysfs);
    if (!deviceDir) return std::nullopt;
    const auto vendor = ReadHex(kernel, *deviceDir + "/idVendor", 0xFFFF);
    const auto product = ReadHex(kernel, *deviceDir + "/idProduct", 0xFFFF);
    const auto interfaceNumber = ReadHex(kernel, *interfaceDir + "/bInterfaceNumber", 0xFF);
    if (!vendor || !product || !interfaceNumber) return std::nullopt;
    CameraNode camera;
    camera.node = roots.dev + "/" + name;
    camera.usbDevice = *deviceDir;
    camera.portPath = BaseName(*deviceDir);
    camera.vendorId = static_cast<std::uint16_t>(*vendor);
    camera.productId = static_cast<std::uint16_t>(*product);
    camera.interfaceNumber = static_cast<std::uint8_t>(*interfaceNumber);
    return camera;
}

CameraScan ScanCameraNodes(LinuxKernel& kernel, const KernelRoots& roots) {
    CameraScan scan;
    for (const std::string& name : kernel.ListDirectory(roots.sysfs + "/class/video4linux")) {
        if (!IsVideoNodeName(name)) continue;
        auto camera = ReadUsbSide(kernel, roots, name);
        if (!camera || camera->vendorId != kKorvexVendorId) continue;
        int error = 0;
        const int fd = kernel.Open(camera->node, error);
        if (fd < 0) {
            scan.unopened.push_back({camera->node, camera->portPath, error});
            continue;
        }
        OpenNode node(kernel, fd);
        if (StillOurs(kernel, roots, *camera) && ReadsAsCapture(node, *camera))
            scan.cameras.push_back(std::move(*camera));
    }
    std::sort(scan.cameras.begin(), scan.cameras.end(), [](const CameraNode& a, const CameraNode& b) {
        if (a.portPath != b.portPath) return PortPathBefore(a.portPath, b.portPath);
        return std::make_tuple(a.interfaceNumber, NodeNumber(a.node)) <
               std::make_tuple(b.interfaceNumber, NodeNumber(b.node));
    });
    return scan;
}

bool StillOurs(LinuxKernel& kernel, const KernelRoots& roots, const CameraNode& camera) {
    const auto now = ReadUsbSide(kernel, roots, BaseName(camera.node));
    return now && now->vendorId == kKorvexVendorId && now->usbDevice == camera.usbDevice &&
           now->interfaceNumber == camera.interfaceNumber;
}

bool PortPathBefore(const std::string& a, const std::string& b) {
    const auto numbers = [](const std::string& path) {
        std::vector<unsigned long> values;
        for (std::size_t at = 0; at < path.size();) {
            if (!std::isdigit(static_cast<unsigned char>(path[at]))) {
                ++at;
                continue;
            }
            std::size_t end = at;
            while (end < path.size() && std::isdigit(static_cast<unsigned char>(path[end]))) ++end;
            values.push_back(std::strtoul(path.substr(at, end - at).c_str(), nullptr, 10));
            at = end;
        }
        return values;
    };
    const auto left = numbers(a);
    const auto right = numbers(b);
    if (left != right) return left < right;
    return a < b;
}

std::string DevicePath(const CameraNode& camera) {
    char ids[40];
    std::snprintf(ids, sizeof ids, "vid_%04x&pid_%04x&mi_%02x", camera.vendorId, camera.productId,
                  camera.interfaceNumber);
    std::string path =
        "\\\\?\\usb#" + std::string(ids) + "#" + camera.portPath + "#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
    std::transform(path.begin(), path.end(), path.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return path;
}

std::string UnopenedLine(const UnopenedNode& unopened) {
    std::string line = "Korvex camera at USB port " + unopened.portPath + ": " + unopened.node + " cannot be opened (" +
                       std::strerror(unopened.error) + ")";
    if (unopened.error == EACCES || unopened.error == EPERM) {
        line += "; docs/linux.md describes the udev rule that gives the video group access to it";
    }
    return line + ".";
}

}  // namespace kv::platform::linux_uvc
