// CDxWnd: the camera object's log operation.
#include "ctrl/camera/DxWnd.h"

#include "ctrl/common/Text.h"

namespace kv::ctrl {

CDxWnd::CDxWnd(platform::Ports& ports) : m_ports(ports), m_logFile(ports) {}

int CDxWnd::Log(const std::string& text) {
    if (ToLower(m_ports.environment.RawCommandLine()).find("/d") == std::string::npos) return 1;
    m_logFile.Open(kLogFileName);
    m_logFile.WriteLine(text);
    return 1;
}

}  // namespace kv::ctrl
