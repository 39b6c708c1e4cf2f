// The composition point of our programs: the platform's ports, or on the
// Linux host the simulated rig's devices in place of the platform's.
#include "ctrl/ProgramPorts.h"

#ifndef _WIN32
#include <cstdio>

#include "sim/host/SimulatedDevices.h"
#endif

namespace kv::ctrl {

#ifdef _WIN32

std::unique_ptr<platform::SystemPorts> MakeProgramPorts(int argc, char** argv) {
    return platform::MakeSystemPorts(argc, argv);
}

#else

namespace {

// The POSIX ports, with the device-facing ones taken from the rig.
class SimulatedHostPorts : public platform::SystemPorts {
public:
    SimulatedHostPorts(std::unique_ptr<platform::SystemPorts> system,
                       std::unique_ptr<sim::host::SimulatedDevices> simulated)
        : m_system(std::move(system)), m_simulated(std::move(simulated)) {
        platform::Ports& own = m_system->ports();
        m_ports = std::make_unique<platform::Ports>(platform::Ports{
            own.environment, own.files, own.console, own.clock, own.ui, own.processes,
            m_simulated->captureDevices(), m_simulated->directUsb(), m_simulated->modules(), own.registry, own.sync,
            own.profileFiles});
    }
    platform::Ports& ports() override { return *m_ports; }

private:
    std::unique_ptr<platform::SystemPorts> m_system;
    std::unique_ptr<sim::host::SimulatedDevices> m_simulated;
    std::unique_ptr<platform::Ports> m_ports;
};

}  // namespace

std::unique_ptr<platform::SystemPorts> MakeProgramPorts(int argc, char** argv) {
    auto system = platform::MakeSystemPorts(argc, argv);
    std::string error;
    auto simulated = sim::host::SimulatedDevices::FromEnvironment(system->ports().clock, error);
    if (!error.empty()) std::fprintf(stderr, "KV_SIM_RIG: %s\n", error.c_str());
    if (!simulated) return system;
    return std::make_unique<SimulatedHostPorts>(std::move(system), std::move(simulated));
}

#endif

}  // namespace kv::ctrl
