// Direct USB class requests of the 0x09B0 model.
#include "sim/hw/DirectUsbDevice.h"

#include <array>

namespace kv::sim {

namespace {

constexpr std::uint8_t kClassOut = 0x21;
constexpr std::uint8_t kClassIn = 0xA1;
constexpr std::uint8_t kSetCur = 0x01;
constexpr std::uint8_t kGetCur = 0x81;
constexpr std::uint16_t kUnitInterface = 0x0300;
constexpr std::uint16_t kWrite16 = 0x0300;
constexpr std::uint16_t kAddress16 = 0x0301;
constexpr std::uint16_t kWrite8 = 0x0302;

Answer Done(std::uint16_t length) { return Answer{platform::kS_OK, length, 0}; }

Answer Out(Hardware& hw, const UsbSetup& setup, std::span<const std::uint8_t> data) {
    bool ok = false;
    if (setup.value == kWrite16 && setup.length == 4) {
        ok = hw.bus.Write(data[0], data.subspan(1, 2), data.subspan(3, 1));
    } else if (setup.value == kAddress16 && setup.length == 3) {
        hw.state.usb.readSlave = data[0];
        ok = hw.bus.Write(data[0], data.subspan(1, 2), {});
    } else if (setup.value == kWrite8 && setup.length == 3) {
        ok = hw.bus.Write(data[0], data.subspan(1, 1), data.subspan(2, 1));
    } else {
        return Stall();
    }
    return ok ? Done(setup.length) : Stall();
}

Answer In(Hardware& hw, const UsbSetup& setup, std::span<std::uint8_t> data) {
    if (setup.request != kGetCur || setup.value != kAddress16 || setup.length != 1) return Stall();
    std::array<std::uint8_t, 1> byte{};
    if (!hw.bus.Read(hw.state.usb.readSlave, byte)) return Stall();
    data[0] = byte[0];
    return Done(1);
}

}  // namespace

UsbSetup UsbSetup::FromBytes(std::span<const std::uint8_t, 8> b) {
    return UsbSetup{b[0], b[1], static_cast<std::uint16_t>(b[2] | (b[3] << 8)),
                    static_cast<std::uint16_t>(b[4] | (b[5] << 8)), static_cast<std::uint16_t>(b[6] | (b[7] << 8))};
}

Answer UsbControlTransfer(Hardware& hw, const UsbSetup& setup, std::span<std::uint8_t> buffer) {
    if (!hw.config.directUsb || setup.index != kUnitInterface || buffer.size() < setup.length) return Stall();
    const auto data = buffer.first(setup.length);
    if (setup.requestType == kClassOut && setup.request == kSetCur) return Out(hw, setup, data);
    if (setup.requestType == kClassIn) return In(hw, setup, data);
    return Stall();
}

}  // namespace kv::sim
