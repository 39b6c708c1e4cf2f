// CDxWnd: the camera object of the console program, with its log operation.
#pragma once

#include <string>

#include "ctrl/common/LogFile.h"
#include "platform/Ports.h"

namespace kv::ctrl {

class CDxWnd {
public:
    explicit CDxWnd(platform::Ports& ports);
    virtual ~CDxWnd() = default;
    CDxWnd(const CDxWnd&) = delete;
    CDxWnd& operator=(const CDxWnd&) = delete;

    // Writes one line to KV_DS_LOG.txt when "/d" (any case) is on the command
    // line; otherwise does nothing. Always returns 1.
    int Log(const std::string& text);

    LogFile& logFile() { return m_logFile; }

protected:
    platform::Ports& m_ports;

private:
    LogFile m_logFile;
};

}  // namespace kv::ctrl
