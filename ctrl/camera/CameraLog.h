// The camera object's debug log: one line in KV_DS_LOG.txt per call, only in
// debug mode ("/d", any case, among the program's arguments).
#pragma once

#include <string>

#include "ctrl/common/LogFile.h"
#include "platform/Ports.h"

namespace kv::ctrl {

class CameraLog {
public:
    explicit CameraLog(platform::Ports& ports) : m_ports(ports), m_file(ports) {}
    // Always returns 1.
    int Log(const std::string& text);
    LogFile& file() { return m_file; }

private:
    platform::Ports& m_ports;
    LogFile m_file;
};

}  // namespace kv::ctrl
