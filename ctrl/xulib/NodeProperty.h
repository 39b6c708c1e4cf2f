// The KSP_NODE block of an extension-unit request, and the sets and flags
// the register library sends.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Guid.h"

namespace kv::ctrl::xulib {

inline const platform::Guid kPluginSet = platform::MakeGuid("{5A215226-3289-4156-894A-5C557CDF9664}");
inline const platform::Guid kAveoSet = platform::MakeGuid("{AAB8F252-8ED1-4972-8CED-96B17F04408B}");
inline const platform::Guid kDevSpecificNode = platform::MakeGuid("{941C7AC0-C559-11D0-8A2B-00A0C9255AC1}");
inline const platform::Guid kIKsNodeControl = platform::MakeGuid("{11737C14-24A7-4BB5-81A0-0D003813B0C4}");

constexpr std::uint32_t kGetFlags = 0x10000001;         // topology + get
constexpr std::uint32_t kSetFlags = 0x10000002;         // topology + set
constexpr std::uint32_t kSupportFlags = 0x10000100;     // topology + set-support
constexpr std::uint32_t kNodePropertyLength = 32;

// {Set, Id, Flags, NodeId, Reserved = 0}, little-endian.
std::array<std::uint8_t, kNodePropertyLength> NodeProperty(const platform::Guid& set, std::uint32_t id,
                                                           std::uint32_t flags, std::uint32_t node);

}  // namespace kv::ctrl::xulib
