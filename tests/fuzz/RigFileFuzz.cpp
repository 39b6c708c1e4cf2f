// Fuzz target: any text as a rig file. It either loads or gives an error
// that names the field; nothing in between may crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sim/rig/RigFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    kv::sim::RigDescription description;
    std::string error;
    const bool loaded = kv::sim::ParseRigText(text, description, error);
    if (loaded == !error.empty()) std::abort();
    return 0;
}
