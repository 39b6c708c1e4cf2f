// The POSIX adapters bundled as the program's port set, with the cameras
// reached through the Linux video driver.
#include "platform/posix/PosixSystemPorts.h"

#include "platform/linux/LinuxCaptureDevices.h"
#include "platform/posix/PosixAdapters.h"

namespace kv::platform {

namespace {

// Nodes that the plug-in's process-wide list still holds may be closed after
// the ports are gone: the kernel calls outlive them.
linux_uvc::LinuxKernel& Kernel() {
    static linux_uvc::SystemKernel kernel;
    return kernel;
}

class PosixSystemPorts : public SystemPorts {
public:
    PosixSystemPorts(int argc, char** argv, ExtensionUnitFactory& pluginClass)
        : m_environment(argc, argv),
          m_captureDevices(Kernel(), m_console, pluginClass),
          m_extensionUnits(pluginClass) {}
    Ports& ports() override { return m_ports; }

private:
    posix::PosixEnvironment m_environment;
    posix::PosixFiles m_files;
    posix::PosixConsole m_console;
    posix::PosixClock m_clock;
    posix::PosixUi m_ui;
    posix::PosixProcesses m_processes;
    NoComApartment m_comApartment;
    linux_uvc::LinuxCaptureDevices m_captureDevices;
    ExtensionUnitFactory& m_extensionUnits;
    AbsentMediaGraphs m_mediaGraphs;
    posix::PosixDirectUsb m_directUsb;
    posix::PosixModules m_modules;
    posix::PosixRegistry m_registry;
    posix::PosixSync m_sync;
    posix::PosixProfileFiles m_profileFiles;
    Ports m_ports{m_environment, m_files,        m_console,        m_clock,          m_ui,
                  m_processes,   m_comApartment, m_captureDevices, m_extensionUnits, m_mediaGraphs,
                  m_directUsb,   m_modules,      m_registry,       m_sync,           m_profileFiles};
};

}  // namespace

std::unique_ptr<SystemPorts> posix::MakePosixSystemPorts(int argc, char** argv, ExtensionUnitFactory& pluginClass) {
    return std::make_unique<PosixSystemPorts>(argc, argv, pluginClass);
}

// Without a plug-in class of the program's choosing, the plug-in class is not
// registered.
std::unique_ptr<SystemPorts> MakeSystemPorts(int argc, char** argv) {
    static AbsentExtensionUnitFactory notRegistered;
    return posix::MakePosixSystemPorts(argc, argv, notRegistered);
}

}  // namespace kv::platform
