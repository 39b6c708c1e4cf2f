// The simulated devices that stand in for the platform's on the host.
#include "sim/host/SimulatedDevices.h"

#include <cstdlib>

namespace kv::sim::host {

std::unique_ptr<SimulatedDevices> SimulatedDevices::FromEnvironment(platform::Clock& clock, std::string& error) {
    const char* rigFile = std::getenv("KV_SIM_RIG");
    if (!rigFile || !*rigFile) return nullptr;
    auto rig = Rig::Load(rigFile, error);
    if (!rig) return nullptr;
    return std::make_unique<SimulatedDevices>(std::make_unique<SimContext>(std::move(rig), clock));
}

SimulatedDevices::SimulatedDevices(std::unique_ptr<SimContext> context)
    : m_context(std::move(context)), m_captureDevices(*m_context), m_directUsb(*m_context) {
    BindStandIns(*m_context);
}

}  // namespace kv::sim::host
