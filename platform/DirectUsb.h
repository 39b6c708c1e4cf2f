// Direct-USB port: the device-list, open and control-transfer calls of the
// outside USB library, for cameras driven without their capture filter.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kv::platform {

// The 8-byte setup packet of a control transfer.
struct UsbSetupPacket {
    std::uint8_t requestType = 0;
    std::uint8_t request = 0;
    std::uint16_t value = 0;
    std::uint16_t index = 0;
    std::uint16_t length = 0;
};

// One entry of the device list.
struct UsbDeviceEntry {
    int vid = 0;
    int pid = 0;
    // The device instance id, USB\VID_xxxx&PID_xxxx[&MI_xx]\<instance>.
    std::string deviceId;
    int driverId = 0;
};

struct UsbPipeInfo {
    int pipeType = 0;
    std::uint8_t pipeId = 0;
    std::uint16_t maximumPacketSize = 0;
    std::uint8_t interval = 0;
};

// An opened device.
class UsbHandle {
public:
    virtual ~UsbHandle() = default;
    // True on success; transferred receives the bytes moved.
    virtual bool ControlTransfer(const UsbSetupPacket& setup, std::uint8_t* buffer, std::uint32_t bufferLength,
                                 std::uint32_t& transferred) = 0;
    virtual bool QueryPipe(std::uint8_t altSetting, std::uint8_t pipeIndex, UsbPipeInfo& pipe) = 0;
};

// The device list: a cursor over its entries. Released when the object goes.
class UsbDeviceList {
public:
    virtual ~UsbDeviceList() = default;
    virtual std::uint32_t Count() = 0;
    // Moves the cursor to the first entry with these ids; null when none.
    virtual const UsbDeviceEntry* FindByVidPid(int vid, int pid) = 0;
    // Moves the cursor to the next entry; null at the end.
    virtual const UsbDeviceEntry* MoveNext() = 0;
    // Loads the driver functions of the entry under the cursor and opens it;
    // null on failure, with the platform's error code in lastError.
    virtual std::unique_ptr<UsbHandle> OpenCurrent(std::uint32_t& lastError) = 0;
};

class DirectUsb {
public:
    virtual ~DirectUsb() = default;
    // False when the USB library itself cannot be loaded, so that a caller
    // can tell a machine without it from a library that fails.
    virtual bool LibraryLoads() = 0;
    // Null when the list cannot be built (no library, or the library fails).
    virtual std::unique_ptr<UsbDeviceList> ListInit() = 0;
};

}  // namespace kv::platform
