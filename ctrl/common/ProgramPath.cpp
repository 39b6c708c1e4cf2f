// Masking the program path at the head of the command line.
#include "ctrl/common/ProgramPath.h"

#include "ctrl/common/Text.h"
#include "platform/Environment.h"

namespace kv::ctrl {

namespace {

constexpr char kMask = '_';

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Windows paths do not tell letter case apart, and the line may carry the
// path in another case than the module name has.
bool StartsWithPath(const std::string& line, const std::string& path) {
    if (path.empty() || line.size() < path.size()) return false;
    if (ToLower(line.substr(0, path.size())) != ToLower(path)) return false;
    return line.size() == path.size() || IsBlank(line[path.size()]);
}

}  // namespace

std::size_t ProgramPathLength(const std::string& line, const std::string& modulePath) {
    if (line.empty()) return 0;
    if (line[0] == '"') {
        const std::size_t close = line.find('"', 1);
        return close == std::string::npos ? line.size() : close + 1;
    }
    if (StartsWithPath(line, modulePath)) return modulePath.size();
    std::size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    return end;
}

std::string MaskProgramPath(const std::string& line, const std::string& modulePath) {
    const std::size_t length = ProgramPathLength(line, modulePath);
    return std::string(length, kMask) + line.substr(length);
}

std::string MaskedCommandLine(const platform::Environment& environment) {
    return MaskProgramPath(environment.RawCommandLine(), environment.ModulePath());
}

}  // namespace kv::ctrl
