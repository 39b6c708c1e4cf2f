// The P809 command-line tool.
#include "ctrl/camera/P809Tool.h"

namespace kv::ctrl {

namespace {

// This program never names a P809 device.
const std::string kP809Device;

}  // namespace

int P809Tool::P809_Read(const std::string& regText, const std::string& secondText) {
    m_processes.StartHidden("cmd.exe /c P809.exe \"" + kP809Device + "\" 21 R " + regText);
    static_cast<void>(secondText);  // the tool's read takes the register alone
    return 1;
}

int P809Tool::P809_Write(const std::string& regText, const std::string& valueText) {
    m_processes.StartHidden("cmd.exe /c P809.exe \"" + kP809Device + "\" 21 W " + regText + " " + valueText);
    return 0;
}

}  // namespace kv::ctrl
