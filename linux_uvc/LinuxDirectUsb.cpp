// Direct-USB port over libusb-1.0.
#include "linux_uvc/LinuxDirectUsb.h"

#include <cstring>
#include <vector>

#include "platform/TextBasics.h"

namespace kv::platform::linux_uvc {

namespace {

constexpr int kVendorId = 0xA168;
// The cameras' class requests go to interface 0, the video-control
// interface: the list names it, as the platform's USB library lists the
// interface its driver serves.
constexpr int kListedInterface = 0;
constexpr unsigned kTransferTimeoutMs = 1000;
constexpr std::uint8_t kRecipientMask = 0x1F;
constexpr std::uint8_t kRecipientInterface = 0x01;

// The platform's error codes the core knows from a failed open.
std::uint32_t PlatformErrorOf(int usbError) {
    switch (usbError) {
    case kUsbErrorAccess:
        return 5;  // access denied
    case kUsbErrorNoDevice:
        return 1167;  // device not connected
    case kUsbErrorBusy:
        return 170;  // in use
    default:
        return 31;  // the device does not function
    }
}

std::string CameraAt(const std::string& portPath) { return "Korvex camera at USB port " + portPath + ": "; }

// An interface taken from the kernel's driver for as long as the object
// lives: detached and claimed when made; released, and the driver given it
// back, when it goes, whatever the requests in between answered.
class InterfaceLoan {
public:
    InterfaceLoan(LinuxDirectUsb& adapter, UsbDeviceHandle& device, std::string portPath, int interfaceNumber)
        : m_adapter(adapter), m_device(device), m_portPath(std::move(portPath)), m_interface(interfaceNumber) {
        const int detach = device.DetachKernelDriver(interfaceNumber);
        m_detached = detach == 0;
        // No driver on the interface: there is nothing to give back.
        m_error = detach == kUsbErrorNotFound ? 0 : detach;
        if (m_error == 0) m_error = device.ClaimInterface(interfaceNumber);
        m_claimed = m_error == 0;
    }
    ~InterfaceLoan() {
        if (m_claimed) m_device.ReleaseInterface(m_interface);
        if (!m_detached) return;
        const int error = m_device.AttachKernelDriver(m_interface);
        if (error != 0) {
            m_adapter.TellOnce(CameraAt(m_portPath) +
                               FormatText("the video driver could not be given interface %d back (", m_interface) +
                               m_adapter.usb().ErrorText(error) +
                               "); unplug the camera and plug it in again to get its video back.");
        }
    }
    InterfaceLoan(const InterfaceLoan&) = delete;
    InterfaceLoan& operator=(const InterfaceLoan&) = delete;

    bool Held() const { return m_claimed; }
    int Interface() const { return m_interface; }
    int Error() const { return m_error; }

private:
    LinuxDirectUsb& m_adapter;
    UsbDeviceHandle& m_device;
    std::string m_portPath;
    int m_interface;
    bool m_detached = false;
    bool m_claimed = false;
    int m_error = 0;
};

// An opened camera. The interface is taken at the first request and kept
// until the handle goes (the core keeps it while it works on this camera):
// a sensor read is two requests that belong together, and every give-back
// makes the driver probe the camera anew. Without the user's consent there
// is no device behind the handle and nothing is sent.
class LinuxUsbHandle : public UsbHandle {
public:
    LinuxUsbHandle(LinuxDirectUsb& adapter, std::string portPath, std::unique_ptr<UsbDeviceHandle> device)
        : m_adapter(adapter), m_portPath(std::move(portPath)), m_device(std::move(device)) {}

    bool ControlTransfer(const UsbSetupPacket& setup, std::uint8_t* buffer, std::uint32_t bufferLength,
                         std::uint32_t& transferred) override {
        transferred = 0;
        if (!m_device) {
            m_adapter.TellOnce(CameraAt(m_portPath) +
                               "nothing was sent by direct USB. Those requests need the video driver detached "
                               "from the camera, which stops its video and removes its /dev/video node while they "
                               "run; set " +
                               kDirectUsbConsent + "=1 to allow that (docs/linux.md).");
            return false;
        }
        if ((setup.length > 0 && !buffer) || bufferLength < setup.length) return false;
        if (!TakeInterfaceFor(setup)) return false;
        const int moved = m_device->ControlTransfer(setup, buffer, kTransferTimeoutMs);
        if (moved < 0) return false;
        transferred = static_cast<std::uint32_t>(moved);
        return true;
    }
    bool QueryPipe(std::uint8_t altSetting, std::uint8_t pipeIndex, UsbPipeInfo& pipe) override {
        if (!m_device) return false;
        const auto pipes = m_device->Endpoints(kListedInterface, altSetting);
        if (pipeIndex >= pipes.size()) return false;
        pipe = pipes[pipeIndex];
        return true;
    }

private:
    // The kernel lets a request to an interface through only from the one
    // who claimed it; requests to the device itself need nothing.
    bool TakeInterfaceFor(const UsbSetupPacket& setup) {
        if ((setup.requestType & kRecipientMask) != kRecipientInterface) return true;
        const int interfaceNumber = setup.index & 0xFF;
        if (m_loan && m_loan->Interface() == interfaceNumber) return true;
        m_loan.reset();
        m_loan = std::make_unique<InterfaceLoan>(m_adapter, *m_device, m_portPath, interfaceNumber);
        if (m_loan->Held()) return true;
        m_adapter.TellOnce(CameraAt(m_portPath) +
                           FormatText("interface %d could not be taken from the video driver (", interfaceNumber) +
                           m_adapter.usb().ErrorText(m_loan->Error()) + "); nothing was sent.");
        m_loan.reset();
        return false;
    }

    LinuxDirectUsb& m_adapter;
    std::string m_portPath;
    std::unique_ptr<UsbDeviceHandle> m_device;
    std::unique_ptr<InterfaceLoan> m_loan;  // declared after the device: it goes first
};

class LinuxUsbDeviceList : public UsbDeviceList {
public:
    LinuxUsbDeviceList(LinuxDirectUsb& adapter, std::unique_ptr<UsbDeviceSet> set)
        : m_adapter(adapter), m_set(std::move(set)) {
        const auto& devices = m_set->Devices();
        for (std::size_t i = 0; i < devices.size(); ++i) {
            const UsbDeviceFacts& device = devices[i];
            if (device.vendorId != kVendorId || device.portPath.empty()) continue;
            m_indexes.push_back(i);
            m_entries.push_back(
                {device.vendorId, device.productId,
                 FormatText("USB\\VID_%04X&PID_%04X&MI_%02X\\", device.vendorId, device.productId, kListedInterface) +
                     device.portPath,
                 0});
        }
    }
    std::uint32_t Count() override { return static_cast<std::uint32_t>(m_entries.size()); }
    const UsbDeviceEntry* FindByVidPid(int vid, int pid) override {
        for (m_cursor = 0; m_cursor < m_entries.size(); ++m_cursor) {
            if (m_entries[m_cursor].vid == vid && m_entries[m_cursor].pid == pid) return &m_entries[m_cursor];
        }
        return nullptr;
    }
    const UsbDeviceEntry* MoveNext() override {
        if (m_cursor == kBeforeFirst) {
            m_cursor = 0;
        } else if (m_cursor < m_entries.size()) {
            ++m_cursor;
        }
        return m_cursor < m_entries.size() ? &m_entries[m_cursor] : nullptr;
    }
    std::unique_ptr<UsbHandle> OpenCurrent(std::uint32_t& lastError) override {
        if (m_cursor >= m_entries.size()) return nullptr;
        const UsbDeviceFacts& facts = m_set->Devices()[m_indexes[m_cursor]];
        if (!m_adapter.MayDetachDriver()) return std::make_unique<LinuxUsbHandle>(m_adapter, facts.portPath, nullptr);
        std::unique_ptr<UsbDeviceHandle> device;
        const int error = m_set->Open(m_indexes[m_cursor], device);
        if (error != 0 || !device) {
            lastError = PlatformErrorOf(error);
            if (error == kUsbErrorAccess) {
                m_adapter.TellOnce(CameraAt(facts.portPath) + facts.node +
                                   " cannot be opened (Permission denied); docs/linux.md describes the udev rule "
                                   "that gives the video group access to it.");
            }
            return nullptr;
        }
        return std::make_unique<LinuxUsbHandle>(m_adapter, facts.portPath, std::move(device));
    }

private:
    LinuxDirectUsb& m_adapter;
    std::unique_ptr<UsbDeviceSet> m_set;
    std::vector<std::size_t> m_indexes;  // of the listed devices in the set
    std::vector<UsbDeviceEntry> m_entries;
    static constexpr std::size_t kBeforeFirst = static_cast<std::size_t>(-1);
    std::size_t m_cursor = kBeforeFirst;
};

}  // namespace

bool DirectUsbConsentGiven(const char* value) { return value && std::strcmp(value, "1") == 0; }

std::unique_ptr<UsbDeviceList> LinuxDirectUsb::ListInit() {
    int error = 0;
    auto set = m_usb.ListDevices(error);
    if (!set) return nullptr;
    return std::make_unique<LinuxUsbDeviceList>(*this, std::move(set));
}

void LinuxDirectUsb::TellOnce(const std::string& line) {
    {
        const std::lock_guard<std::mutex> lock(m_toldLock);
        if (!m_told.insert(line).second) return;
    }
    m_console.WriteErrorLine(line);
}

}  // namespace kv::platform::linux_uvc
