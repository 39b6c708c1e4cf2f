// The bridge chip's register control: the node request that carries it and
// its 4-byte data block, {address low, address high, value, mark}.
#pragma once

#include <array>
#include <cstdint>

#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::wire {

constexpr std::uint32_t kBridgeControl = 1;  // the unit's only control selector
constexpr std::uint32_t kBridgeNode = 1;     // the node the program addresses it on
constexpr std::uint8_t kBridgeWriteMark = 0x00;
constexpr std::uint8_t kBridgeReadMark = 0xFF;  // a set that only latches the address for the next get

using BridgeBlock = std::array<std::uint8_t, 4>;

inline NodePropertyBytes BridgeRequest(std::uint32_t flags) {
    return NodeProperty(kBridgeXuSet, kBridgeControl, flags, kBridgeNode);
}

// Only the low 16 bits of the address and the low 8 of the value go out.
inline BridgeBlock BridgeWriteBlock(int address, int value) {
    return {static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8),
            static_cast<std::uint8_t>(value), kBridgeWriteMark};
}

inline BridgeBlock BridgeLatchBlock(int address) {
    return {static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), 0x00, kBridgeReadMark};
}

inline std::uint16_t BridgeBlockAddress(const BridgeBlock& block) {
    return static_cast<std::uint16_t>(block[0] | (block[1] << 8));
}

}  // namespace kv::wire
