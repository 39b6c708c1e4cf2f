// Conversions between the model's GUID type and the platform's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "platform/Guid.h"

namespace kv::sim::win32 {

inline platform::Guid FromWinGuid(const GUID& guid) {
    std::uint8_t bytes[sizeof(GUID)];
    std::memcpy(bytes, &guid, sizeof bytes);
    return platform::Guid::FromBytes(bytes);
}

inline GUID ToWinGuid(const platform::Guid& guid) {
    GUID raw{};
    const auto bytes = guid.ToBytes();
    std::memcpy(&raw, bytes.data(), sizeof raw);
    return raw;
}

}  // namespace kv::sim::win32
