// The simulated devices and outside libraries that stand in for the
// platform's on the host when KV_SIM_RIG names a rig file.
#pragma once

#include <memory>
#include <string>

#include "platform/Clock.h"
#include "plugin/InProcessPlugin.h"
#include "sim/host/SimCaptureDevices.h"
#include "sim/host/SimDirectUsb.h"
#include "sim/host/SimStandIns.h"

namespace kv::sim::host {

class SimulatedDevices {
public:
    // Nothing when KV_SIM_RIG is unset or empty; nothing, with error naming
    // the file and the field, when the rig cannot be read.
    static std::unique_ptr<SimulatedDevices> FromEnvironment(platform::Clock& clock, std::string& error);

    explicit SimulatedDevices(std::unique_ptr<SimContext> context);
    platform::CaptureDevices& captureDevices() { return m_captureDevices; }
    platform::ExtensionUnitFactory& extensionUnits() { return m_extensionUnits; }
    platform::DirectUsb& directUsb() { return m_directUsb; }
    platform::Modules& modules() { return m_modules; }

private:
    std::unique_ptr<SimContext> m_context;
    SimCaptureDevices m_captureDevices;
    // The plug-in class in process, as CoCreateInstance of CExtensionUnit
    // makes it on Windows: its objects share the process's plug-in state with
    // the node instances of every simulated filter.
    plugin::InProcessPlugin m_extensionUnits;
    SimDirectUsb m_directUsb;
    StandInModules m_modules;
};

}  // namespace kv::sim::host
