// The POSIX adapters bundled as the program's port set.
#include "platform/posix/PosixAdapters.h"

namespace kv::platform {

namespace {

class PosixSystemPorts : public SystemPorts {
public:
    PosixSystemPorts(int argc, char** argv) : m_environment(argc, argv) {}
    Ports& ports() override { return m_ports; }

private:
    posix::PosixEnvironment m_environment;
    posix::PosixFiles m_files;
    posix::PosixConsole m_console;
    posix::PosixClock m_clock;
    posix::PosixUi m_ui;
    posix::PosixProcesses m_processes;
    NoComApartment m_comApartment;
    posix::PosixCaptureDevices m_captureDevices;
    AbsentExtensionUnitFactory m_extensionUnits;
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

std::unique_ptr<SystemPorts> MakeSystemPorts(int argc, char** argv) {
    return std::make_unique<PosixSystemPorts>(argc, argv);
}

}  // namespace kv::platform
