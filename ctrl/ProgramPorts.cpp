// The composition point of our programs: the platform's ports; on the Linux
// host with the cameras reached through the video driver, or the simulated
// rig's devices, in place of the platform's.
#include "ctrl/ProgramPorts.h"

#ifndef _WIN32
#include <cstdio>
#include <cstdlib>
#include <string>

#include "linux_uvc/LinuxCaptureDevices.h"
#include "linux_uvc/LinuxDirectUsb.h"
#include "plugin/InProcessPlugin.h"
#include "sim/host/SimulatedDevices.h"
#endif

namespace kv::ctrl {

#ifdef _WIN32

std::unique_ptr<platform::SystemPorts> MakeProgramPorts(int argc, char** argv) {
    return platform::MakeSystemPorts(argc, argv);
}

#else

namespace {

// The program's pauses, summed: with KV_SIM_PAUSE_TALLY naming a file, the
// run appends the milliseconds it paused to it when it ends, so that a
// benchmark can tell the pauses the behaviour requires from the rest. The
// rig's own delays go to the unwrapped clock and are not counted.
class PauseTally : public platform::Clock {
public:
    PauseTally(platform::Clock& clock, std::string file) : m_clock(clock), m_file(std::move(file)) {}
    ~PauseTally() override {
        if (std::FILE* out = std::fopen(m_file.c_str(), "a")) {
            std::fprintf(out, "%llu\n", m_total);
            std::fclose(out);
        }
    }
    void Sleep(unsigned milliseconds) override {
        m_total += milliseconds;
        m_clock.Sleep(milliseconds);
    }
    platform::LocalTime Now() const override { return m_clock.Now(); }
    std::uint32_t TickCount() const override { return m_clock.TickCount(); }

private:
    platform::Clock& m_clock;
    std::string m_file;
    unsigned long long m_total = 0;
};

// The POSIX ports, with the device-facing ones taken from the rig.
class SimulatedHostPorts : public platform::SystemPorts {
public:
    SimulatedHostPorts(std::unique_ptr<platform::SystemPorts> system,
                       std::unique_ptr<sim::host::SimulatedDevices> simulated)
        : m_system(std::move(system)), m_simulated(std::move(simulated)) {
        platform::Ports& own = m_system->ports();
        platform::Clock* clock = &own.clock;
        if (const char* tally = std::getenv("KV_SIM_PAUSE_TALLY"); tally && *tally) {
            m_tally = std::make_unique<PauseTally>(own.clock, tally);
            clock = m_tally.get();
        }
        m_ports = std::make_unique<platform::Ports>(platform::Ports{
            own.environment, own.files, own.console, *clock, own.ui, own.processes, own.comApartment,
            m_simulated->captureDevices(), m_simulated->extensionUnits(), own.mediaGraphs, m_simulated->directUsb(),
            m_simulated->modules(), own.registry, own.sync, own.profileFiles});
    }
    platform::Ports& ports() override { return *m_ports; }

private:
    std::unique_ptr<platform::SystemPorts> m_system;
    std::unique_ptr<sim::host::SimulatedDevices> m_simulated;
    std::unique_ptr<PauseTally> m_tally;
    std::unique_ptr<platform::Ports> m_ports;
};

// Linux has no registration of the plug-in class: the plug-in's core serves
// the cameras' plug-in unit in process. Plug-in objects on the process-wide
// list outlive the ports, and so do the class and the kernel calls that
// close their nodes.
platform::ExtensionUnitFactory& PluginClass() {
    static plugin::InProcessPlugin pluginClass;
    return pluginClass;
}

platform::linux_uvc::LinuxKernel& Kernel() {
    static platform::linux_uvc::SystemKernel kernel;
    return kernel;
}

// The POSIX ports, with the cameras the video driver made, the plug-in class
// in process, and direct USB over libusb (which detaches the video driver
// only when the user allows it).
class LinuxCameraPorts : public platform::SystemPorts {
public:
    explicit LinuxCameraPorts(std::unique_ptr<platform::SystemPorts> system)
        : m_system(std::move(system)),
          m_captureDevices(Kernel(), m_system->ports().console, PluginClass()),
          m_directUsb(m_usbLibrary, m_system->ports().console,
                      platform::linux_uvc::DirectUsbConsentGiven(std::getenv(platform::linux_uvc::kDirectUsbConsent))) {
        platform::Ports& own = m_system->ports();
        m_ports = std::make_unique<platform::Ports>(
            platform::Ports{own.environment, own.files, own.console, own.clock, own.ui, own.processes, own.comApartment,
                            m_captureDevices, PluginClass(), own.mediaGraphs, m_directUsb, own.modules, own.registry,
                            own.sync, own.profileFiles});
    }
    platform::Ports& ports() override { return *m_ports; }

private:
    std::unique_ptr<platform::SystemPorts> m_system;
    platform::linux_uvc::LinuxCaptureDevices m_captureDevices;
    platform::linux_uvc::SystemUsbLibrary m_usbLibrary;
    platform::linux_uvc::LinuxDirectUsb m_directUsb;
    std::unique_ptr<platform::Ports> m_ports;
};

}  // namespace

std::unique_ptr<platform::SystemPorts> MakeProgramPorts(int argc, char** argv) {
    auto system = std::make_unique<LinuxCameraPorts>(platform::MakeSystemPorts(argc, argv));
    std::string error;
    auto simulated = sim::host::SimulatedDevices::FromEnvironment(system->ports().clock, error);
    if (!error.empty()) std::fprintf(stderr, "KV_SIM_RIG: %s\n", error.c_str());
    if (!simulated) return system;
    return std::make_unique<SimulatedHostPorts>(std::move(system), std::move(simulated));
}

#endif

}  // namespace kv::ctrl
