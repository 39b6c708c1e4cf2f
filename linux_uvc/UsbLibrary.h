// The one seam between the direct USB adapter and libusb-1.0: the handful of
// calls it makes. Everything above it runs unchanged against a fake in unit
// tests; SystemUsbLibrary makes the real calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/DirectUsb.h"

namespace kv::platform::linux_uvc {

// The libusb error codes the adapter tells apart (libusb.h's values; the
// real implementation checks that they match).
inline constexpr int kUsbErrorAccess = -3;
inline constexpr int kUsbErrorNoDevice = -4;
inline constexpr int kUsbErrorNotFound = -5;
inline constexpr int kUsbErrorBusy = -6;

struct UsbDeviceFacts {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    // The USB port path, the kernel's name of the device ("1-2.3"); empty
    // for a root hub.
    std::string portPath;
    // The usbfs node, for messages ("/dev/bus/usb/001/005").
    std::string node;
};

// An open device; closed when the object goes. Each call answers 0 (the
// transfer: the bytes moved) or a libusb error code.
class UsbDeviceHandle {
public:
    virtual ~UsbDeviceHandle() = default;
    virtual int DetachKernelDriver(int interfaceNumber) = 0;
    virtual int ClaimInterface(int interfaceNumber) = 0;
    virtual int ControlTransfer(const UsbSetupPacket& setup, std::uint8_t* data, unsigned timeoutMs) = 0;
    virtual int ReleaseInterface(int interfaceNumber) = 0;
    virtual int AttachKernelDriver(int interfaceNumber) = 0;
    // The endpoints of an alternate setting of the active configuration.
    virtual std::vector<UsbPipeInfo> Endpoints(int interfaceNumber, int altSetting) = 0;
};

// The library's device list, as it was when it was made.
class UsbDeviceSet {
public:
    virtual ~UsbDeviceSet() = default;
    virtual const std::vector<UsbDeviceFacts>& Devices() const = 0;
    virtual int Open(std::size_t index, std::unique_ptr<UsbDeviceHandle>& handle) = 0;
};

class UsbLibrary {
public:
    virtual ~UsbLibrary() = default;
    // Null, with the libusb error, when the library cannot list the devices.
    virtual std::unique_ptr<UsbDeviceSet> ListDevices(int& error) = 0;
    virtual std::string ErrorText(int error) = 0;
};

// The real calls. The library's context lives as long as the last list or
// handle made from it.
class SystemUsbLibrary : public UsbLibrary {
public:
    std::unique_ptr<UsbDeviceSet> ListDevices(int& error) override;
    std::string ErrorText(int error) override;

private:
    std::shared_ptr<void> m_context;
};

}  // namespace kv::platform::linux_uvc
