// The Korvex capture nodes the kernel's video driver made, found through
// sysfs: each /dev/videoN whose USB device has our vendor id and whose node
// captures video (the driver's metadata node beside it does not), ordered by
// the USB port the camera sits in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "linux_uvc/LinuxKernel.h"

namespace kv::platform::linux_uvc {

constexpr std::uint16_t kKorvexVendorId = 0xA168;

// Where the kernel's trees are; a testbed may move them.
struct KernelRoots {
    std::string sysfs = "/sys";
    std::string dev = "/dev";
};

struct CameraNode {
    std::string node;       // "/dev/video0"
    std::string usbDevice;  // the USB device's sysfs directory
    std::string portPath;   // "1-2.3": bus, then the port at each hub
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint8_t interfaceNumber = 0;  // the VideoControl interface the node belongs to
    std::string card;                  // the driver's name for the camera
};

// A node of one of our cameras that could not be opened to be examined.
struct UnopenedNode {
    std::string node;
    std::string portPath;
    int error = 0;
};

struct CameraScan {
    std::vector<CameraNode> cameras;
    std::vector<UnopenedNode> unopened;
};

// Only nodes of our vendor's devices are ever opened.
CameraScan ScanCameraNodes(LinuxKernel& kernel, const KernelRoots& roots);

// The USB side of the class entry `name` ("video0"), card name aside;
// nothing when the node is not on a USB interface.
std::optional<CameraNode> ReadUsbSide(LinuxKernel& kernel, const KernelRoots& roots, const std::string& name);

// True while the node still belongs to the same interface of the same camera
// of ours: a node number is given again to whatever device comes next.
bool StillOurs(LinuxKernel& kernel, const KernelRoots& roots, const CameraNode& camera);

// Port paths compared number by number: "1-2" < "1-2.1" < "1-10".
bool PortPathBefore(const std::string& a, const std::string& b);

// The device path in the platform's form, lower case, so that the product-id
// and instance rules read it as they read a Windows one; the port path
// stands as the instance.
std::string DevicePath(const CameraNode& camera);

// The line for a node that cannot be opened, naming the fix where there is one.
std::string UnopenedLine(const UnopenedNode& unopened);

}  // namespace kv::platform::linux_uvc
