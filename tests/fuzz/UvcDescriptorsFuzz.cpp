// Fuzz target: any bytes as a device's descriptors. The walk never reads past
// them, and each unit it reports is found again by its GUID.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "linux_uvc/UvcDescriptors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kv::platform::linux_uvc;
    const std::span<const std::uint8_t> blob(data, size);
    const auto units = ReadExtensionUnits(blob);
    if (units.size() > size / 20) std::abort();
    for (const auto& unit : units) {
        if (!FindExtensionUnit(blob, unit.interfaceNumber, unit.guid)) std::abort();
    }
    return 0;
}
