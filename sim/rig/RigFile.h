// Reading a rig file into a RigDescription.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "sim/rig/RigDescription.h"

namespace kv::sim {

// Parses rig text; on failure returns false and sets `error` to
// "<field>: <problem>" (or the JSON syntax error).
bool ParseRigText(std::string_view text, RigDescription& rig, std::string& error);

// Reads and parses a rig file; errors are prefixed with the file's name.
bool ReadRigFile(const std::filesystem::path& file, RigDescription& rig, std::string& text, std::string& error);

}  // namespace kv::sim
