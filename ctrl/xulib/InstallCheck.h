// Making sure the extension-unit plug-in is registered before the register
// library looks for cameras: the vendor key it writes when it registers
// must name an existing file and a recent enough version, in the user's hive
// or in the copy the setup records machine-wide; otherwise it is registered
// (elevated) or its installer is started with an elevation request.
#pragma once

#include "platform/Ports.h"

namespace kv::ctrl::xulib {

inline constexpr const char* kPluginModule = "zelunit.dll";
inline constexpr const char* kInstaller = "Install_UvcCtrl.exe";
constexpr unsigned kInstallerWaitMs = 1500;
constexpr unsigned kRegistrationWaitMs = 300;

// Reports nothing: every failure ends the check silently, and the caller
// enumerates the cameras next in any case.
void RunInstallCheck(platform::Ports& ports);

}  // namespace kv::ctrl::xulib
