// Capture-devices port over the kernel's video driver: our cameras' capture
// nodes in port order, their property bags, and filters whose extension-unit
// requests become the driver's extension-unit queries; and the plug-in class
// those filters' node instances share (the plug-in's portable core, in
// process). Video is not served yet: a filter answers that it lacks the
// video interfaces.
#pragma once

#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "platform/CaptureDevices.h"
#include "platform/Console.h"
#include "platform/ExtensionUnitFactory.h"
#include "platform/linux/SysfsCameras.h"

namespace kv::platform::linux_uvc {

// What the adapters share: the kernel, the trees, and the cameras whose
// trouble has been told already (once per run, however often the program
// walks the devices).
class LinuxDeviceContext {
public:
    LinuxDeviceContext(LinuxKernel& k, Console& c, KernelRoots r) : kernel(k), console(c), roots(std::move(r)) {}
    void Tell(const UnopenedNode& unopened);

    LinuxKernel& kernel;
    Console& console;
    KernelRoots roots;

private:
    std::mutex m_toldLock;  // the ports may be used from any thread
    std::set<std::string> m_told;
};

class LinuxCaptureDevices : public CaptureDevices {
public:
    LinuxCaptureDevices(LinuxKernel& kernel, Console& console, KernelRoots roots = {})
        : m_context(std::make_shared<LinuxDeviceContext>(kernel, console, std::move(roots))) {}
    HResult CreateSystemDeviceEnumerator(std::unique_ptr<DeviceEnumerator>& enumerator) override;

private:
    std::shared_ptr<LinuxDeviceContext> m_context;
};

class LinuxExtensionUnitFactory : public ExtensionUnitFactory {
public:
    HResult CreateExtensionUnit(std::shared_ptr<ExtensionUnit>& unit) override;
};

}  // namespace kv::platform::linux_uvc
