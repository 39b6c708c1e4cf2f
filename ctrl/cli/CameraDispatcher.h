// The dispatcher of KV_DS_Ctrl: the dispatch passes driving the camera
// object and the per-model routines, with the run's process-wide counters.
#pragma once

#include "ctrl/cli/Dispatcher.h"
#include "platform/Ports.h"

namespace kv::ctrl {

class CameraDispatcher : public Dispatcher {
public:
    explicit CameraDispatcher(platform::Ports& ports) : m_ports(ports) {}
    void Dispatch(const ParsedCommand& command, const CameraTable& table, CDxWnd& camera) override;

private:
    platform::Ports& m_ports;
};

}  // namespace kv::ctrl
