// The camera driver's property block: 40 bytes handed to one property-set
// call both as instance data and as property data.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace kv::wire {

constexpr std::size_t kDriverBlockSize = 40;
constexpr std::size_t kDriverValueOffset = 24;
constexpr std::uint32_t kDriverBlockFlags = 2;  // KSPROPERTY_TYPE_SET, as the block names it

using DriverPropertyBytes = std::array<std::uint8_t, kDriverBlockSize>;

// {kDriverPropertySet, id, kDriverBlockFlags, value, zero}, little-endian.
DriverPropertyBytes DriverProperty(std::uint32_t id, std::int32_t value);

// The value of a block for `id`, or nothing when the block is not exactly
// what DriverProperty builds for some value.
std::optional<std::int32_t> ParseDriverProperty(std::span<const std::uint8_t> block, std::uint32_t id);

}  // namespace kv::wire
