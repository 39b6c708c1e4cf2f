// Kernel-streaming property requests: the flags, the KSPROPERTY / KSP_NODE
// header with its builder and parser, and the result codes a device's
// answers come back as.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/Guid.h"

namespace kv::wire {

// KSPROPERTY_TYPE_* flags.
constexpr std::uint32_t kKsGet = 0x00000001;
constexpr std::uint32_t kKsSet = 0x00000002;
constexpr std::uint32_t kKsSetSupport = 0x00000100;
constexpr std::uint32_t kKsBasicSupport = 0x00000200;
constexpr std::uint32_t kKsTopology = 0x10000000;

// What a node request carries: the type with the topology flag.
constexpr std::uint32_t kNodeGet = kKsTopology | kKsGet;                // 0x10000001
constexpr std::uint32_t kNodeSet = kKsTopology | kKsSet;                // 0x10000002
constexpr std::uint32_t kNodeSetSupport = kKsTopology | kKsSetSupport;  // 0x10000100

constexpr std::size_t kKsPropertySize = 24;
constexpr std::size_t kKsNodePropertySize = 32;

// Result codes as the kernel-streaming proxy hands a device's answers back
// (HRESULT_FROM_WIN32 of the Win32 error); the platform's HResult type.
constexpr std::int32_t kHrGenFailure = static_cast<std::int32_t>(0x8007001Fu);  // control request stalled
constexpr std::int32_t kHrInsufficientBuffer = static_cast<std::int32_t>(0x8007007Au);
constexpr std::int32_t kHrMoreData = static_cast<std::int32_t>(0x800700EAu);      // zero-length get: size query
constexpr std::int32_t kHrNotFound = static_cast<std::int32_t>(0x80070490u);      // property id not supported
constexpr std::int32_t kHrSetNotFound = static_cast<std::int32_t>(0x80070492u);   // property set not supported
constexpr std::int32_t kHrNotSupported = static_cast<std::int32_t>(0x80070032u);  // request type not supported

using NodePropertyBytes = std::array<std::uint8_t, kKsNodePropertySize>;

// KSP_NODE {Set, Id, Flags, NodeId, Reserved}, little-endian. The reserved
// word goes out as zero: a driver may check it.
NodePropertyBytes NodeProperty(const platform::Guid& set, std::uint32_t id, std::uint32_t flags, std::uint32_t node);

// KSPROPERTY (24 bytes) optionally followed by NodeId and Reserved (KSP_NODE,
// 32 bytes), as a driver reads what it is given.
struct KsRequest {
    platform::Guid set;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t node = 0;
    bool hasNode = false;
    std::size_t size = 0;  // bytes the caller passed as the property

    // Nothing when fewer than 24 bytes are given.
    static std::optional<KsRequest> Parse(std::span<const std::uint8_t> bytes);
    std::uint32_t Type() const { return flags & ~kKsTopology; }
    bool Topology() const { return (flags & kKsTopology) != 0; }
    // A topology request is a KSP_NODE of exactly 32 bytes, any other a
    // KSPROPERTY of exactly 24: the driver checks the size it is given.
    bool WellFormed() const { return size == (Topology() ? kKsNodePropertySize : kKsPropertySize); }
};

std::uint32_t ReadLe32(std::span<const std::uint8_t> bytes, std::size_t offset);
void WriteLe32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value);

}  // namespace kv::wire
