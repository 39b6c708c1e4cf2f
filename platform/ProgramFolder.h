// Where the running program lies: the folder its outside libraries, its
// installer and its settings file are taken from.
#pragma once

#include <string>

#include "platform/Environment.h"

namespace kv::platform {

// The folder part of a file's full path, up to and including its last '\'
// or '/'; empty when the path names no folder.
std::string FolderOf(const std::string& path);

// The running program's folder, as FolderOf gives it.
std::string ProgramFolder(const Environment& environment);

}  // namespace kv::platform
