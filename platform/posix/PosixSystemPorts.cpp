// The POSIX adapters bundled as the program's port set. When KV_SIM_RIG names
// a rig file, the rig's simulated cameras stand in for the capture devices,
// the direct-USB devices and the outside libraries.
#include <cstdio>

#include "platform/posix/PosixAdapters.h"
#include "sim/host/SimulatedDevices.h"

namespace kv::platform {

namespace {

class PosixSystemPorts : public SystemPorts {
public:
    PosixSystemPorts(int argc, char** argv) : m_environment(argc, argv) {
        std::string error;
        m_simulated = sim::host::SimulatedDevices::FromEnvironment(m_clock, error);
        if (!error.empty()) std::fprintf(stderr, "KV_SIM_RIG: %s\n", error.c_str());
        if (m_simulated) {
            for (auto& [name, symbols] : m_simulated->StandInModules()) m_modules.Register(name, std::move(symbols));
        }
        CaptureDevices& captureDevices = m_simulated ? m_simulated->captureDevices() : m_captureDevices;
        DirectUsb& directUsb = m_simulated ? m_simulated->directUsb() : m_directUsb;
        m_ports = std::make_unique<Ports>(Ports{m_environment, m_files, m_console, m_clock, m_ui, m_processes,
                                                captureDevices, directUsb, m_modules});
    }
    Ports& ports() override { return *m_ports; }

private:
    posix::PosixEnvironment m_environment;
    posix::PosixFiles m_files;
    posix::PosixConsole m_console;
    posix::PosixClock m_clock;
    posix::PosixUi m_ui;
    posix::PosixProcesses m_processes;
    posix::PosixCaptureDevices m_captureDevices;
    posix::PosixDirectUsb m_directUsb;
    posix::PosixModules m_modules;
    std::unique_ptr<sim::host::SimulatedDevices> m_simulated;
    std::unique_ptr<Ports> m_ports;
};

}  // namespace

std::unique_ptr<SystemPorts> MakeSystemPorts(int argc, char** argv) {
    return std::make_unique<PosixSystemPorts>(argc, argv);
}

}  // namespace kv::platform
