// The controls of the two extension units the register library drives: the
// plug-in unit's control selectors, and the Aveo unit's one control with its
// 32-byte command blocks (the command in byte 0).
#pragma once

#include <cstddef>
#include <cstdint>

namespace kv::wire {

// Plug-in unit (kPluginXuSet).
constexpr std::uint32_t kPluginInfo = 0;
constexpr std::uint32_t kPluginLength = 1;  // LEN n: the size of the next transfer; LEN 1 ends a sequence
constexpr std::uint32_t kPluginRegRead = 2;
constexpr std::uint32_t kPluginRegWrite = 3;
constexpr std::uint32_t kPluginI2cRead = 4;
constexpr std::uint32_t kPluginI2cWrite = 5;
constexpr std::uint32_t kPluginKept = 17;
constexpr std::uint32_t kPluginI2cWriteBlock = 19;

// Aveo unit (kAveoXuSet).
constexpr std::uint32_t kAveoControl = 2;
constexpr std::size_t kAveoBlockSize = 32;
constexpr std::uint8_t kAveoSelectRegister = 0x01;
constexpr std::uint8_t kAveoWriteRegister = 0x03;
constexpr std::uint8_t kAveoI2cWrite = 0x05;
constexpr std::uint8_t kAveoI2cRead = 0xE0;

}  // namespace kv::wire
