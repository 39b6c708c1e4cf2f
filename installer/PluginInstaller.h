// Install_UvcCtrl: registers (or with /u unregisters) the zelunit.dll that
// lies beside it, and records in the vendor key a version the register
// library's installation check accepts, so that the check stops asking for
// elevation once the plug-in is registered.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/Modules.h"
#include "platform/Ui.h"
#include "platform/Registry.h"

namespace kv::installer {

// Exit statuses; every failure is nonzero, so that a setup program can tell.
enum ExitStatus : int {
    kExitOk = 0,
    kExitBadArguments = 2,
    kExitModuleMissing = 3,
    kExitModuleNotLoaded = 4,
    kExitNoEntryPoint = 5,
    kExitEntryPointFailed = 6,
    kExitVendorKey = 7,
};

struct InstallerPorts {
    platform::Environment& environment;  // the program's own path
    platform::Files& files;
    platform::Modules& modules;  // loads the plug-in by its full path
    platform::Ui& ui;            // the message box that reports a failure
    platform::Registry& registry;
};

// `arguments` without the program name: none to register, "/u" to
// unregister; "/q" suppresses the message box (for silent setups, which
// read the exit status instead). Letter case and '-' for '/' are accepted.
int RunInstaller(InstallerPorts& ports, const std::vector<std::string>& arguments);

}  // namespace kv::installer
