// Capture-devices port served from a simulated rig: its devices in
// enumeration order, their property bags, and filters whose interfaces carry
// every request to the rig's model.
#pragma once

#include "platform/CaptureDevices.h"
#include "platform/MediaGraph.h"
#include "sim/host/SimContext.h"

namespace kv::sim::host {

class SimCaptureDevices : public platform::CaptureDevices {
public:
    explicit SimCaptureDevices(SimContext& context) : m_context(context) {}
    platform::HResult Initialize() override { return platform::kS_OK; }
    void Uninitialize() override {}
    platform::HResult CreateSystemDeviceEnumerator(std::unique_ptr<platform::DeviceEnumerator>& enumerator) override;
    // A plug-in object of zelunit's portable core, as CoCreateInstance of
    // CExtensionUnit would make on Windows: it shares the process's plug-in
    // state with the node instances of every simulated filter.
    platform::HResult CreateExtensionUnit(std::shared_ptr<platform::ExtensionUnit>& unit) override;
    // The host has no viewer graphs; the simulated cameras' video is served
    // only under Windows (kvsimcam.dll).
    platform::MediaGraphs& Graphs() override { return m_graphs; }

private:
    SimContext& m_context;
    platform::AbsentMediaGraphs m_graphs;
};

}  // namespace kv::sim::host
