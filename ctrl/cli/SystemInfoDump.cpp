// The one-off system-information report of the debug mode.
#include "ctrl/cli/SystemInfoDump.h"

#include "ctrl/common/LogFile.h"
#include "ctrl/common/Text.h"

namespace kv::ctrl {

namespace {

// Single-quoted for /bin/sh: nothing inside is interpreted.
std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

std::string SystemInfoCommand(bool windows, const std::string& reportPath) {
    if (windows) return "cmd.exe /c systeminfo.exe > \"" + reportPath + "\"";
    return "{ uname -a; cat /etc/os-release; if command -v lsusb >/dev/null 2>&1; then lsusb; fi; } > " +
           ShellQuoted(reportPath) + " 2>&1";
}

void StartSystemInfoDumpIfWanted(platform::Ports& ports, const std::string& rawLine) {
    if (!FoundAfterStart(rawLine, "/d")) return;
    const std::string report = LogFolderFile(ports, kSystemInfoFileName);
    if (ports.files.Exists(report)) return;
    ports.processes.StartHidden(SystemInfoCommand(ports.environment.IsWindows(), report));
}

}  // namespace kv::ctrl
