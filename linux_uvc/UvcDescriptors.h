// The extension units a USB video device declares, read from its raw
// descriptors (sysfs "descriptors": the device descriptor, then each
// configuration with its interfaces and their class-specific descriptors).
// The bytes come from the device: any length, any content.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/Guid.h"

namespace kv::platform::linux_uvc {

struct ExtensionUnitDescriptor {
    std::uint8_t interfaceNumber = 0;  // the VideoControl interface that declares it
    std::uint8_t unitId = 0;
    Guid guid;
};

// Every extension unit of every VideoControl interface, in descriptor order.
// A descriptor that claims more bytes than are left, or a zero length, ends
// the walk: what came before it is kept.
std::vector<ExtensionUnitDescriptor> ReadExtensionUnits(std::span<const std::uint8_t> descriptors);

// The unit id of the first unit with this GUID on that VideoControl interface.
std::optional<std::uint8_t> FindExtensionUnit(std::span<const std::uint8_t> descriptors, std::uint8_t interfaceNumber,
                                              const Guid& guid);

}  // namespace kv::platform::linux_uvc
