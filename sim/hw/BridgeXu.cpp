// Bridge-register extension unit requests.
#include "sim/hw/BridgeXu.h"

#include "wire/BridgeRegister.h"
#include "wire/KsProperty.h"

namespace kv::sim {

namespace {

constexpr std::size_t kBlock = wire::BridgeBlock{}.size();

Answer Set(Hardware& hw, std::span<std::uint8_t> data) {
    if (data.size() != kBlock) return Stall();
    const auto address = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
    if (data[3] == wire::kBridgeReadMark) {
        // The latch is {lo, hi, 0x00, 0xFF}: a read step carries no value.
        if (data[2] != 0x00) return Stall();
        hw.state.bridgeXu.address = address;
    } else if (data[3] == wire::kBridgeWriteMark) {
        hw.bridge.Write(address, data[2]);
    } else {
        return Stall();
    }
    return Answer{platform::kS_OK, 4, 0};
}

Answer Get(Hardware& hw, std::span<std::uint8_t> data) {
    const std::uint16_t address = hw.state.bridgeXu.address;
    // The control is exactly 4 bytes: a zero-length get asks its size, any
    // other size stalls.
    if (data.empty()) return AnswerGet(data, wire::BridgeBlock{});
    if (data.size() != kBlock) return Stall();
    const wire::BridgeBlock reply{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8),
                                  hw.bridge.Read(address), 0};
    return AnswerGet(data, reply);
}

}  // namespace

Answer BridgeXuRequest(Hardware& hw, const wire::KsRequest& request, std::span<std::uint8_t> data) {
    if (request.id != wire::kBridgeControl) return Answer{wire::kHrNotFound, 0, 0};
    switch (request.Type()) {
    case wire::kKsSet:
        return Set(hw, data);
    case wire::kKsGet:
        return Get(hw, data);
    default:
        return Answer{wire::kHrNotSupported, 0, 0};
    }
}

}  // namespace kv::sim
