// USB descriptors are a chain of (bLength, bDescriptorType, ...) records.
// Interface descriptors open a scope: the class-specific records after one
// belong to it until the next interface descriptor.
#include "linux_uvc/UvcDescriptors.h"

namespace kv::platform::linux_uvc {

namespace {

constexpr std::uint8_t kInterfaceType = 0x04;
constexpr std::uint8_t kClassSpecificInterfaceType = 0x24;
constexpr std::uint8_t kVideoClass = 0x0E;
constexpr std::uint8_t kVideoControlSubclass = 0x01;
constexpr std::uint8_t kExtensionUnitSubtype = 0x06;

constexpr std::size_t kInterfaceLength = 9;
// bLength, bDescriptorType, bDescriptorSubtype, bUnitID, guidExtensionCode.
constexpr std::size_t kUnitHeadLength = 4 + 16;

struct Scope {
    bool videoControl = false;
    std::uint8_t interfaceNumber = 0;
};

void Enter(std::span<const std::uint8_t> record, Scope& scope) {
    scope.videoControl =
        record.size() >= kInterfaceLength && record[5] == kVideoClass && record[6] == kVideoControlSubclass;
    scope.interfaceNumber = record.size() > 2 ? record[2] : 0;
}

bool IsExtensionUnit(std::span<const std::uint8_t> record, const Scope& scope) {
    return scope.videoControl && record.size() >= kUnitHeadLength && record[1] == kClassSpecificInterfaceType &&
           record[2] == kExtensionUnitSubtype;
}

}  // namespace

std::vector<ExtensionUnitDescriptor> ReadExtensionUnits(std::span<const std::uint8_t> descriptors) {
    std::vector<ExtensionUnitDescriptor> units;
    Scope scope;
    std::size_t offset = 0;
    while (descriptors.size() - offset >= 2) {
        const std::size_t length = descriptors[offset];
        if (length < 2 || length > descriptors.size() - offset) break;
        const auto record = descriptors.subspan(offset, length);
        if (record[1] == kInterfaceType) {
            Enter(record, scope);
        } else if (IsExtensionUnit(record, scope)) {
            units.push_back({scope.interfaceNumber, record[3], Guid::FromBytes(record.subspan(4, 16))});
        }
        offset += length;
    }
    return units;
}

std::optional<std::uint8_t> FindExtensionUnit(std::span<const std::uint8_t> descriptors, std::uint8_t interfaceNumber,
                                              const Guid& guid) {
    for (const auto& unit : ReadExtensionUnits(descriptors)) {
        if (unit.interfaceNumber == interfaceNumber && unit.guid == guid) return unit.unitId;
    }
    return std::nullopt;
}

}  // namespace kv::platform::linux_uvc
