// The one-off system-information report of the debug mode.
#pragma once

#include <string>

#include "platform/Ports.h"

namespace kv::ctrl {

// The command that writes the report into reportPath: the platform's
// systeminfo tool on Windows, standard tools elsewhere.
std::string SystemInfoCommand(bool windows, const std::string& reportPath);

// Starts the report, not waiting for it, when "/d" stands in the raw command
// line after its first character and the report does not exist yet.
void StartSystemInfoDumpIfWanted(platform::Ports& ports, const std::string& rawLine);

}  // namespace kv::ctrl
