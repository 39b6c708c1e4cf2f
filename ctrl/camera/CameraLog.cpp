// The camera object's debug log.
#include "ctrl/camera/CameraLog.h"

#include "ctrl/common/ProgramPath.h"
#include "ctrl/common/Text.h"

namespace kv::ctrl {

int CameraLog::Log(const std::string& text) {
    if (ToLower(MaskedCommandLine(m_ports.environment)).find("/d") == std::string::npos) return 1;
    m_file.Open(kLogFileName);
    m_file.WriteLine(text);
    return 1;
}

}  // namespace kv::ctrl
