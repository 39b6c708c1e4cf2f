// Kernel-streaming facts the model answers with: property flags, the property
// sets and node types it knows, the request header, and the result codes a
// device's failures show up as.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/HResult.h"
#include "sim/hw/Guid.h"

namespace kv::sim {

using platform::HResult;

// KSPROPERTY_TYPE_* flags.
constexpr std::uint32_t kKsGet = 0x00000001;
constexpr std::uint32_t kKsSet = 0x00000002;
constexpr std::uint32_t kKsSetSupport = 0x00000100;
constexpr std::uint32_t kKsBasicSupport = 0x00000200;
constexpr std::uint32_t kKsTopology = 0x10000000;

// Result codes as the kernel-streaming proxy hands a device's answers back
// (HRESULT_FROM_WIN32 of the Win32 error).
constexpr HResult kHrGenFailure = static_cast<HResult>(0x8007001Fu);     // control request stalled
constexpr HResult kHrInsufficientBuffer = static_cast<HResult>(0x8007007Au);
constexpr HResult kHrMoreData = static_cast<HResult>(0x800700EAu);       // zero-length get: size query
constexpr HResult kHrNotFound = static_cast<HResult>(0x80070490u);       // property id not supported
constexpr HResult kHrSetNotFound = static_cast<HResult>(0x80070492u);    // property set not supported
constexpr HResult kHrNotSupported = static_cast<HResult>(0x80070032u);   // request type not supported

// Property sets.
inline constexpr Guid kBridgeXuSet{0x28F03370, 0x6311, 0x4A2E, {0xBA, 0x2C, 0x68, 0x90, 0xEB, 0x33, 0x40, 0x16}};  // bridge-register extension unit
inline constexpr Guid kPluginXuSet{0x5A215226, 0x3289, 0x4156, {0x89, 0x4A, 0x5C, 0x55, 0x7C, 0xDF, 0x96, 0x64}};  // plug-in extension unit
inline constexpr Guid kAveoXuSet{0xAAB8F252, 0x8ED1, 0x4972, {0x8C, 0xED, 0x96, 0xB1, 0x7F, 0x04, 0x40, 0x8B}};  // Aveo extension unit
inline constexpr Guid kDriverPropertySet{0xD80AF729, 0x7C23, 0x4E10, {0xBC, 0x5F, 0x1D, 0x8C, 0x15, 0x7F, 0x96, 0xE3}};  // the camera driver's own set

// Node types.
inline constexpr Guid kNodeDevSpecific{0x941C7AC0, 0xC559, 0x11D0, {0x8A, 0x2B, 0x00, 0xA0, 0xC9, 0x25, 0x5A, 0xC1}};
inline constexpr Guid kNodeCameraTerminal{0xDFF229E6, 0xF70F, 0x11D0, {0xB9, 0x17, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
inline constexpr Guid kNodeVideoProcessing{0xDFF229E5, 0xF70F, 0x11D0, {0xB9, 0x17, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
inline constexpr Guid kNodeVideoStreaming{0xDFF229E1, 0xF70F, 0x11D0, {0xB9, 0x17, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

constexpr std::size_t kKsPropertySize = 24;
constexpr std::size_t kKsNodePropertySize = 32;

// KSPROPERTY (24 bytes) optionally followed by NodeId and Reserved (KSP_NODE,
// 32 bytes), all little-endian.
struct KsRequest {
    Guid set;
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

}  // namespace kv::sim
