// Aveo extension unit requests.
#include "sim/hw/AveoXu.h"

#include <array>
#include <vector>

#include "wire/ExtensionUnits.h"
#include "wire/KsProperty.h"

namespace kv::sim {

namespace {

std::vector<std::uint8_t> I2cAddress(std::span<const std::uint8_t> block) {
    if ((block[6] & 0x10) != 0) return {block[4], block[3]};
    return {block[3]};
}

std::size_t I2cDataCount(std::span<const std::uint8_t> block) { return (block[6] & 0x01) != 0 ? 2 : 1; }

bool I2cWrite(Hardware& hw, std::span<const std::uint8_t> block) {
    const auto address = I2cAddress(block);
    const bool ok = hw.bus.Write(block[5], address, block.subspan(1, I2cDataCount(block)), hw.bridge.I2cPort());
    hw.bridge.NoteI2cResult(ok);
    return ok;
}

bool I2cRead(Hardware& hw, std::span<const std::uint8_t> block, std::vector<std::uint8_t>& reply) {
    std::array<std::uint8_t, 2> bytes{};
    const auto out = std::span(bytes).first(I2cDataCount(block));
    const auto address = I2cAddress(block);
    const bool ok = hw.bus.ReadAt(block[5], address, out, hw.bridge.I2cPort());
    hw.bridge.NoteI2cResult(ok);
    reply[1] = bytes[0];
    reply[2] = bytes[1];
    return ok;
}

Answer Set(Hardware& hw, std::span<const std::uint8_t> block) {
    auto& xu = hw.state.aveoXu;
    std::vector<std::uint8_t> reply(block.begin(), block.end());
    bool ok = true;
    switch (block[0]) {
    case wire::kAveoSelectRegister:
        xu.address = static_cast<std::uint16_t>(block[1] | (block[2] << 8));
        break;
    case wire::kAveoWriteRegister:
        hw.bridge.Write(xu.address, block[1]);
        break;
    case wire::kAveoI2cWrite:
        ok = I2cWrite(hw, block);
        break;
    case wire::kAveoI2cRead:
        ok = I2cRead(hw, block, reply);
        break;
    default:
        xu.extended[block[0]].assign(block.begin() + 1, block.end());
        break;
    }
    xu.reply = std::move(reply);
    return ok ? Answer{platform::kS_OK, static_cast<std::uint32_t>(wire::kAveoBlockSize), 0} : Stall();
}

Answer Get(Hardware& hw, std::span<std::uint8_t> data) {
    auto& xu = hw.state.aveoXu;
    std::vector<std::uint8_t> reply = xu.reply;
    reply.resize(wire::kAveoBlockSize, 0);
    if (data.size() >= wire::kAveoBlockSize && reply[0] == wire::kAveoSelectRegister) {
        // The selected registers are read when the host asks, not when it selects.
        reply[1] = hw.bridge.Read(xu.address);
        reply[2] = hw.bridge.Read(static_cast<std::uint16_t>(xu.address + 1));
    }
    return AnswerGet(data, reply);
}

}  // namespace

Answer AveoXuRequest(Hardware& hw, const wire::KsRequest& request, std::span<std::uint8_t> data) {
    if (request.id != wire::kAveoControl) return Answer{wire::kHrNotFound, 0, 0};
    switch (request.Type()) {
    case wire::kKsSet:
        return data.size() == wire::kAveoBlockSize ? Set(hw, data) : Stall();
    case wire::kKsGet:
        return Get(hw, data);
    default:
        return Answer{wire::kHrNotSupported, 0, 0};
    }
}

}  // namespace kv::sim
