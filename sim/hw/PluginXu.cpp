// Plug-in extension unit requests.
#include "sim/hw/PluginXu.h"

#include <algorithm>
#include <vector>

#include "wire/ExtensionUnits.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::sim {

namespace {

constexpr std::size_t kBlock = 32;
constexpr std::uint8_t kClosed = 1;       // the length announcement that ends a sequence
constexpr std::uint8_t kI2cReadMark = 1;  // third byte of the I2C read block

const Answer kOk{platform::kS_OK, 0, 0};

bool Announced(const Hardware& hw, std::span<const std::uint8_t> data) {
    return data.size() == hw.state.pluginXu.length;
}

// Puts `count` bytes on the bus: with data, the device's address width
// decides where the address phase ends.
bool WriteI2c(Hardware& hw, std::uint8_t slave, std::span<const std::uint8_t> bytes, bool withData) {
    const I2cDeviceSettings* settings = hw.bus.Find(slave);
    std::size_t split = bytes.size();
    if (withData && settings != nullptr)
        split = std::min(bytes.size(), static_cast<std::size_t>(settings->addressWidth));
    const bool ok = hw.bus.Write(slave, bytes.first(split), bytes.subspan(split), hw.bridge.I2cPort());
    hw.bridge.NoteI2cResult(ok);
    return ok;
}

Answer SetRegRead(Hardware& hw, std::span<const std::uint8_t> data) {
    if (!Announced(hw, data) || data.size() != 2 || data[1] < 1 || data[1] > 4) return Stall();
    hw.state.pluginXu.readAddress = data[0];
    hw.state.pluginXu.readLength = data[1];
    return kOk;
}

Answer SetRegWrite(Hardware& hw, std::span<const std::uint8_t> data) {
    if (!Announced(hw, data) || data.size() < 3 || data[1] < 1 || data[1] > 4 || data.size() != data[1] + 2u) {
        return Stall();
    }
    for (std::size_t i = 0; i < data[1]; ++i) {
        hw.bridge.Write(static_cast<std::uint16_t>((data[0] + i) & 0xFF), data[2 + i]);
    }
    return kOk;
}

// A new length is taken only once the previous sequence has closed with an
// announcement of 1: a sequence that leaves its length in force makes the
// next one stall at its first transfer.
Answer SetLength(Hardware& hw, std::span<const std::uint8_t> data) {
    auto& xu = hw.state.pluginXu;
    if (data.size() != 1 || data[0] == 0) return Stall();
    if (data[0] != kClosed && xu.length != kClosed) return Stall();
    xu.length = data[0];
    return kOk;
}

Answer SetI2cRead(Hardware& hw, std::span<const std::uint8_t> data) {
    if (!Announced(hw, data) || data.size() != 3 || data[1] == 0 || data[2] != kI2cReadMark) return Stall();
    std::vector<std::uint8_t> reply(data[1]);
    hw.bridge.NoteI2cResult(hw.bus.Read(data[0], reply, hw.bridge.I2cPort()));
    hw.state.pluginXu.i2cReply = std::move(reply);
    return kOk;
}

// {slave, count, flag, bytes}; `block` allows padding after the bytes.
Answer SetI2cWrite(Hardware& hw, std::span<const std::uint8_t> data, bool block) {
    if (data.size() < 3) return Stall();
    const std::size_t count = data[1];
    if (block ? count + 3 > data.size() : count + 3 != data.size()) return Stall();
    WriteI2c(hw, data[0], data.subspan(3, count), (data[2] & 0x01) != 0);
    return kOk;
}

Answer Set(Hardware& hw, std::uint32_t id, std::span<const std::uint8_t> data) {
    switch (id) {
    case wire::kPluginLength:
        return SetLength(hw, data);
    case wire::kPluginRegRead:
        return SetRegRead(hw, data);
    case wire::kPluginRegWrite:
        return SetRegWrite(hw, data);
    case wire::kPluginI2cRead:
        return SetI2cRead(hw, data);
    case wire::kPluginI2cWrite:
        return Announced(hw, data) ? SetI2cWrite(hw, data, false) : Stall();
    case wire::kPluginKept:
        return data.size() == kBlock ? kOk : Stall();
    case wire::kPluginI2cWriteBlock:
        return data.size() == kBlock ? SetI2cWrite(hw, data, true) : Stall();
    default:
        return Answer{wire::kHrNotFound, 0, 0};
    }
}

// A reply is collected with a get of exactly the size its read command
// asked for; a zero-length get asks that size.
Answer GetReply(std::span<std::uint8_t> data, std::span<const std::uint8_t> reply) {
    if (!data.empty() && data.size() != reply.size()) return Stall();
    return AnswerGet(data, reply);
}

std::vector<std::uint8_t> RegReadReply(Hardware& hw) {
    std::vector<std::uint8_t> reply;
    for (std::size_t i = 0; i < hw.state.pluginXu.readLength; ++i) {
        reply.push_back(hw.bridge.Read(static_cast<std::uint16_t>((hw.state.pluginXu.readAddress + i) & 0xFF)));
    }
    return reply;
}

Answer Get(Hardware& hw, std::uint32_t id, std::span<std::uint8_t> data) {
    auto& xu = hw.state.pluginXu;
    switch (id) {
    case wire::kPluginInfo: {
        const auto info = wire::kPluginXuSet.ToBytes();
        return AnswerGet(data, info);
    }
    case wire::kPluginLength:
        return AnswerGet(data, std::vector<std::uint8_t>{xu.length});
    case wire::kPluginRegRead:
        return GetReply(data, RegReadReply(hw));
    case wire::kPluginI2cRead:
        return GetReply(data, xu.i2cReply);
    case wire::kPluginRegWrite:
    case wire::kPluginI2cWrite:
    case wire::kPluginKept:
    case wire::kPluginI2cWriteBlock: {
        const auto it = xu.lastBlocks.find(id);
        if (it != xu.lastBlocks.end()) return AnswerGet(data, it->second);
        return AnswerGet(data, std::vector<std::uint8_t>(id >= wire::kPluginKept ? kBlock : xu.length, 0));
    }
    default:
        return Answer{wire::kHrNotFound, 0, 0};
    }
}

}  // namespace

Answer PluginXuRequest(Hardware& hw, const wire::KsRequest& request, std::span<std::uint8_t> data) {
    switch (request.Type()) {
    case wire::kKsSet: {
        const Answer answer = Set(hw, request.id, data);
        const bool kept = request.id == wire::kPluginRegWrite || request.id == wire::kPluginI2cWrite ||
                          request.id == wire::kPluginKept || request.id == wire::kPluginI2cWriteBlock;
        if (platform::Succeeded(answer.hr) && kept)
            hw.state.pluginXu.lastBlocks[request.id].assign(data.begin(), data.end());
        return platform::Succeeded(answer.hr) ? Answer{answer.hr, static_cast<std::uint32_t>(data.size()), 0} : answer;
    }
    case wire::kKsGet:
        return Get(hw, request.id, data);
    default:
        return Answer{wire::kHrNotSupported, 0, 0};
    }
}

}  // namespace kv::sim
