// Modules port on POSIX: the outside camera libraries are Windows DLLs, so
// none can be loaded here.
#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {

std::unique_ptr<Module> PosixModules::Load(const std::string&) { return nullptr; }

}  // namespace kv::platform::posix
