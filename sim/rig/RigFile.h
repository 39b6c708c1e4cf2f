// Reading a rig file into a RigSpec.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "sim/rig/RigSpec.h"

namespace kv::sim {

// Parses rig text; on failure returns false and sets `error` to
// "<field>: <problem>" (or the JSON syntax error).
bool ParseRigText(std::string_view text, RigSpec& spec, std::string& error);

// Reads and parses a rig file; errors are prefixed with the file's name.
bool ReadRigFile(const std::filesystem::path& file, RigSpec& spec, std::string& text, std::string& error);

}  // namespace kv::sim
