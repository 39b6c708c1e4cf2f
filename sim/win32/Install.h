// "kvsim install" and "kvsim uninstall" on Windows: the rig's devices in the
// current Wine prefix (or Windows installation), as the real device
// enumerator lists them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "sim/rig/Rig.h"

namespace kv::sim::win32 {

struct InstallOptions {
    // The kvsimcam.dll to register; empty: the one beside the running program.
    std::filesystem::path server;
};

struct InstallReport {
    std::filesystem::path server;
    std::filesystem::path rigFile;        // as recorded for the stand-ins
    std::size_t removed = 0;              // devices of an earlier install
    std::vector<std::wstring> instances;  // registered now, in rig order
};

// Registers kvsimcam.dll's class, records the rig's file name for the
// stand-ins, removes an earlier install's devices, then follows the rig's
// enumerator mode: every device registered (normal), none (empty category),
// or none and the system device enumerator made unavailable (cannot be
// created). False with `error` at the first step that fails.
bool InstallRig(const Rig& rig, const InstallOptions& options, InstallReport& report, std::string& error);

// Takes all of that away again: devices, class, rig record, enumerator switch.
bool UninstallRig(std::size_t& removed, std::string& error);

}  // namespace kv::sim::win32
