// Capture-devices port over the kernel's video driver: our cameras' capture
// nodes in port order, their property bags, and filters whose extension-unit
// requests become the driver's extension-unit queries. The plug-in's unit
// gets its node instances from the plug-in class the program hands in (the
// plug-in's portable core, in process). Video is not served yet: a filter
// answers that it lacks the video interfaces.
#pragma once

#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "platform/CaptureDevices.h"
#include "platform/Console.h"
#include "platform/ExtensionUnitFactory.h"
#include "linux_uvc/SysfsCameras.h"

namespace kv::platform::linux_uvc {

// What the adapters share: the kernel, the plug-in class, the trees, and the
// cameras whose trouble has been told already (once per run, however often
// the program walks the devices).
class LinuxDeviceContext {
public:
    LinuxDeviceContext(LinuxKernel& k, Console& c, ExtensionUnitFactory& p, KernelRoots r)
        : kernel(k), console(c), pluginClass(p), roots(std::move(r)) {}
    void Tell(const UnopenedNode& unopened);

    LinuxKernel& kernel;
    Console& console;
    ExtensionUnitFactory& pluginClass;
    KernelRoots roots;

private:
    std::mutex m_toldLock;  // the ports may be used from any thread
    std::set<std::string> m_told;
};

class LinuxCaptureDevices : public CaptureDevices {
public:
    // `pluginClass` must outlive every filter bound here.
    LinuxCaptureDevices(LinuxKernel& kernel, Console& console, ExtensionUnitFactory& pluginClass,
                        KernelRoots roots = {})
        : m_context(std::make_shared<LinuxDeviceContext>(kernel, console, pluginClass, std::move(roots))) {}
    HResult CreateSystemDeviceEnumerator(std::unique_ptr<DeviceEnumerator>& enumerator) override;

private:
    std::shared_ptr<LinuxDeviceContext> m_context;
};

}  // namespace kv::platform::linux_uvc
