// The POSIX port set with the plug-in class the program chooses: the capture
// nodes' plug-in unit and the extension-unit port both come from it.
// MakeSystemPorts gives the set without one (the plug-in class is not
// registered).
#pragma once

#include <memory>

#include "platform/Ports.h"

namespace kv::platform::posix {

// `pluginClass` must outlive every filter the ports bind.
std::unique_ptr<SystemPorts> MakePosixSystemPorts(int argc, char** argv, ExtensionUnitFactory& pluginClass);

}  // namespace kv::platform::posix
