// The program's folder.
#include "platform/ProgramFolder.h"

namespace kv::platform {

std::string FolderOf(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string ProgramFolder(const Environment& environment) { return FolderOf(environment.ModulePath()); }

}  // namespace kv::platform
