// Bridge-register extension unit requests.
#include "sim/hw/BridgeXu.h"

#include <array>

namespace kv::sim {

namespace {

constexpr std::uint32_t kControl = 1;
constexpr std::uint8_t kWriteMark = 0x00;
constexpr std::uint8_t kReadMark = 0xFF;

constexpr std::size_t kBlock = 4;

Answer Set(Hardware& hw, std::span<std::uint8_t> data) {
    if (data.size() != kBlock) return Stall();
    const auto address = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
    if (data[3] == kReadMark) {
        // The latch is {lo, hi, 0x00, 0xFF}: a read step carries no value.
        if (data[2] != 0x00) return Stall();
        hw.state.bridgeXu.address = address;
    } else if (data[3] == kWriteMark) {
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
    if (data.empty()) return AnswerGet(data, std::array<std::uint8_t, kBlock>{});
    if (data.size() != kBlock) return Stall();
    const std::array<std::uint8_t, kBlock> reply{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8),
                                            hw.bridge.Read(address), 0};
    return AnswerGet(data, reply);
}

}  // namespace

Answer BridgeXuRequest(Hardware& hw, const KsRequest& request, std::span<std::uint8_t> data) {
    if (request.id != kControl) return Answer{kHrNotFound, 0, 0};
    switch (request.Type()) {
        case kKsSet: return Set(hw, data);
        case kKsGet: return Get(hw, data);
        default: return Answer{kHrNotSupported, 0, 0};
    }
}

}  // namespace kv::sim
