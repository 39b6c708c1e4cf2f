// The dispatcher of KV_DS_Ctrl: the dispatch passes driving the camera
// object and the per-model routines, with the run's process-wide counters
// and the direct USB path.
#pragma once

#include "ctrl/cli/Dispatcher.h"
#include "ctrl/models/DirectUsbPath.h"
#include "platform/Ports.h"

namespace kv::ctrl {

class CameraDispatcher : public Dispatcher {
public:
    explicit CameraDispatcher(platform::Ports& ports) : m_ports(ports), m_directUsb(ports) {}
    void Dispatch(const ParsedCommand& command, const CameraTable& table, CDxWnd& camera) override;

private:
    platform::Ports& m_ports;
    // Opened while a camera of the direct-USB model is handled; kept to the
    // end of the run.
    DirectUsbPath m_directUsb;
};

}  // namespace kv::ctrl
