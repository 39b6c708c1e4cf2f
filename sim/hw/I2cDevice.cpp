// Register-map I2C devices: address pointer, value widths, pages, and the
// address-less sink.
#include "sim/hw/I2cDevice.h"

#include <algorithm>

namespace kv::sim {

namespace {

std::uint32_t PointerMask(const I2cDeviceSettings& settings) { return settings.addressWidth >= 2 ? 0xFFFFu : 0xFFu; }

std::uint16_t ValueMask(const I2cDeviceSettings& settings) {
    return settings.valueWidth >= 2 ? std::uint16_t{0xFFFF} : std::uint16_t{0xFF};
}

void Store(const I2cDeviceSettings& settings, I2cDeviceState& state, std::uint16_t value) {
    value = static_cast<std::uint16_t>(value & ValueMask(settings));
    if (settings.paged && state.pointer == kPageRegister) {
        state.page = value;
        return;
    }
    state.registers[I2cRegisterKey(settings, state.page, state.pointer)] = value;
}

}  // namespace

std::optional<I2cDeviceSettings> DefaultI2cDevice(std::uint8_t address) {
    switch (address) {
    case 0x78:
    case 0x48:
        return I2cDeviceSettings{2, 1, false, true};
    case 0x5D:
        return I2cDeviceSettings{1, 2, true, true};
    case 0x20:
    case 0x21:
    case 0x62:
        return I2cDeviceSettings{1, 1, false, true};
    case 0x46:
        return I2cDeviceSettings{0, 1, false, true};
    default:
        return std::nullopt;
    }
}

std::uint32_t I2cRegisterKey(const I2cDeviceSettings& settings, std::uint16_t page, std::uint32_t reg) {
    return settings.paged ? ((static_cast<std::uint32_t>(page) << 16) | reg) : reg;
}

std::uint16_t I2cDeviceRegister(const I2cDeviceSettings& settings, const I2cDeviceState& state, std::uint32_t reg) {
    if (settings.paged && reg == kPageRegister) return state.page;
    const auto it = state.registers.find(I2cRegisterKey(settings, state.page, reg));
    return it == state.registers.end() ? 0 : it->second;
}

void I2cDeviceWrite(const I2cDeviceSettings& settings, I2cDeviceState& state, std::span<const std::uint8_t> address,
                    std::span<const std::uint8_t> data) {
    if (settings.addressWidth <= 0) {
        if (!data.empty()) state.lastByte = data.back();
        else if (!address.empty()) state.lastByte = address.back();
        return;
    }
    if (!address.empty()) {
        const std::size_t n = std::min<std::size_t>(address.size(), static_cast<std::size_t>(settings.addressWidth));
        std::uint32_t pointer = 0;
        for (std::size_t i = 0; i < n; ++i) pointer = (pointer << 8) | address[i];
        state.pointer = pointer;
    }
    const std::size_t width = settings.valueWidth >= 2 ? 2 : 1;
    // A trailing partial value is not latched, as a register of that width would not be.
    for (std::size_t at = 0; at + width <= data.size(); at += width) {
        const std::uint16_t value = width == 2 ? static_cast<std::uint16_t>((data[at] << 8) | data[at + 1]) : data[at];
        Store(settings, state, value);
        state.pointer = (state.pointer + 1) & PointerMask(settings);
    }
}

void I2cDeviceRead(const I2cDeviceSettings& settings, I2cDeviceState& state, std::span<std::uint8_t> out) {
    if (settings.addressWidth <= 0) {
        std::fill(out.begin(), out.end(), state.lastByte);
        return;
    }
    const std::size_t width = settings.valueWidth >= 2 ? 2 : 1;
    for (std::size_t at = 0; at < out.size(); at += width) {
        const std::uint16_t value = I2cDeviceRegister(settings, state, state.pointer);
        out[at] = width == 2 ? static_cast<std::uint8_t>(value >> 8) : static_cast<std::uint8_t>(value);
        if (width == 2 && at + 1 < out.size()) out[at + 1] = static_cast<std::uint8_t>(value);
        state.pointer = (state.pointer + 1) & PointerMask(settings);
    }
}

}  // namespace kv::sim
