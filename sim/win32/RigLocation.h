// Where the simulator's Windows parts find the rig: $KV_SIM_RIG, else the
// file name that `kvsim install` left in the registry.
#pragma once

#include <filesystem>
#include <string>

namespace kv::sim::win32 {

// A rig file name as Windows can open it: a Unix path (starting with '/') is
// the build machine's file reached through Wine's drive Z:, with backslashes.
// Anything else is returned as given.
std::wstring WindowsRigPath(const std::wstring& name);

// The same, made absolute against the current folder; what the installer
// records, so that any process in the prefix finds the same file.
std::filesystem::path AbsoluteRigPath(const std::filesystem::path& name);

// $KV_SIM_RIG when set and not empty, else HKLM\Software\Korvex\Simulator
// "Rig"; empty, with `error` saying why, when neither names a rig.
std::filesystem::path FindRigFile(std::string& error);

// Writes the registry value that FindRigFile falls back on.
bool RecordRigFile(const std::filesystem::path& rig, std::string& error);

}  // namespace kv::sim::win32
