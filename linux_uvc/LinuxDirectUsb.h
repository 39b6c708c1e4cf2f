// Direct-USB port over libusb-1.0: our devices in the form the core reads,
// and class requests to an interface that the kernel's video driver holds.
// The kernel lets no one else send those while its driver has the interface,
// so sending takes the interface from the driver, which stops the camera's
// video and removes its /dev/video node meanwhile: only with the user's
// consent (KV_LINUX_DIRECT_USB=1), never silently.
#pragma once

#include <mutex>
#include <set>
#include <string>

#include "platform/Console.h"
#include "platform/DirectUsb.h"
#include "linux_uvc/UsbLibrary.h"

namespace kv::platform::linux_uvc {

// The environment variable that allows the driver to be detached.
inline constexpr const char* kDirectUsbConsent = "KV_LINUX_DIRECT_USB";

// True when the variable's value allows it ("1").
bool DirectUsbConsentGiven(const char* value);

class LinuxDirectUsb : public DirectUsb {
public:
    LinuxDirectUsb(UsbLibrary& usb, Console& console, bool mayDetachDriver)
        : m_usb(usb), m_console(console), m_mayDetachDriver(mayDetachDriver) {}
    // libusb is linked in: it is always there.
    bool LibraryLoads() override { return true; }
    // The devices of vendor a168 only, listed as
    // USB\VID_A168&PID_xxxx&MI_00\<port path>, the instance of the device
    // path the capture devices give the camera.
    std::unique_ptr<UsbDeviceList> ListInit() override;

    // A line on standard error, once per run however often it comes up.
    void TellOnce(const std::string& line);
    bool MayDetachDriver() const { return m_mayDetachDriver; }
    UsbLibrary& usb() { return m_usb; }
    Console& console() { return m_console; }

private:
    UsbLibrary& m_usb;
    Console& m_console;
    bool m_mayDetachDriver;
    std::mutex m_toldLock;
    std::set<std::string> m_told;
};

}  // namespace kv::platform::linux_uvc
