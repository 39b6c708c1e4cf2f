// The dispatcher of KV_DS_Ctrl: the dispatch passes driving the camera
// object and the per-model routines, with the run's counters and the direct
// USB path.
#pragma once

#include "ctrl/cli/MainRoutine.h"
#include "ctrl/models/DirectUsbPath.h"
#include "ctrl/models/RunCounters.h"
#include "platform/Ports.h"

namespace kv::ctrl {

class CameraDispatcher : public Dispatcher {
public:
    CameraDispatcher(platform::Ports& ports, DispatchCounters& counters)
        : m_ports(ports), m_counters(counters), m_directUsb(ports) {}
    void Dispatch(const ParsedCommand& command, const CameraTable& table, CDxWnd& camera) override;

private:
    platform::Ports& m_ports;
    DispatchCounters& m_counters;  // the run context's
    // Opened while a camera of the direct-USB model is handled; kept to the
    // end of the run.
    DirectUsbPath m_directUsb;
};

}  // namespace kv::ctrl
