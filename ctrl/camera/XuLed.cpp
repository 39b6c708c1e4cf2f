// LED helpers on the vendor register library.
#include "ctrl/camera/XuLed.h"

#include <array>
#include <cstdint>
#include <optional>

#include "ctrl/xulib/XuLib.h"

namespace kv::ctrl {

namespace {

constexpr int kLedState = 0x84;
constexpr int kLedOutput = 0x80;
constexpr int kExtendedLed = 0xF0;

// The new LED register value for a mode, or nothing for a mode the helper
// does not know.
using Change = std::optional<std::int32_t> (*)(int mode, std::int32_t value);

int ReadModifyWrite(int mode, int device, Change change) {
    std::int32_t value = 0;
    const platform::HResult read = xulib_RegRead(device, kLedState, 1, &value);
    if (platform::Failed(read)) return read;
    const auto changed = change(mode, value);
    if (!changed) return read;
    const std::int32_t written = *changed;
    return xulib_RegWrite(device, kLedOutput, 1, &written);
}

int ExtendedWrite(int device, std::uint8_t first, std::uint8_t second) {
    std::array<std::uint8_t, 32> block{};
    block[0] = first;
    block[1] = second;
    return xulib_AveoExWrite(device, kExtendedLed, block.data());
}

}  // namespace

int XuLed_SetBit0(int mode, int device) {
    return ReadModifyWrite(mode, device, [](int m, std::int32_t v) -> std::optional<std::int32_t> {
        if (m == 0) return v & 0xFE;
        if (m == 1) return v | 0x01;
        return std::nullopt;
    });
}

int XuLed_SetBits02(int mode, int device) {
    return ReadModifyWrite(mode, device, [](int m, std::int32_t v) -> std::optional<std::int32_t> {
        if (m == 0) return v & 0xFA;
        if (m == 1) return (v & 0xFA) | 0x01;
        if (m == 2) return (v & 0xFA) | 0x04;
        return std::nullopt;
    });
}

int XuLed_SetBit2(int mode, int device) {
    return ReadModifyWrite(mode, device, [](int m, std::int32_t v) -> std::optional<std::int32_t> {
        if (m == 0) return v & 0xFA;
        if (m == 1) return (v & 0xFA) | 0x04;
        return std::nullopt;
    });
}

int XuLed_F2F3(int mode, int device) {
    if (mode != 0 && mode != 1) return 0;
    ExtendedWrite(device, 0xF2, static_cast<std::uint8_t>(mode));
    return ExtendedWrite(device, 0xF3, 0x00);
}

}  // namespace kv::ctrl
