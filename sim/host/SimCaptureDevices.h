// Capture-devices port served from a simulated rig: its devices in
// enumeration order, their property bags, and filters whose interfaces carry
// every request to the rig's model; and the plug-in class those filters'
// node instances share. The host has no viewer graphs: the simulated
// cameras' video is served only under Windows (kvsimcam.dll).
#pragma once

#include "platform/CaptureDevices.h"
#include "platform/ExtensionUnitFactory.h"
#include "sim/host/SimContext.h"

namespace kv::sim::host {

class SimCaptureDevices : public platform::CaptureDevices {
public:
    explicit SimCaptureDevices(SimContext& context) : m_context(context) {}
    platform::HResult CreateSystemDeviceEnumerator(std::unique_ptr<platform::DeviceEnumerator>& enumerator) override;

private:
    SimContext& m_context;
};

}  // namespace kv::sim::host
