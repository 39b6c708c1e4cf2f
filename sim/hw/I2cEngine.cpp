// The bridge's I2C master: decodes the control byte, runs the transfer on the
// bus and keeps the status protocol (finished bit 2, error bit 3).
#include "sim/hw/I2cEngine.h"

#include <array>
#include <span>

namespace kv::sim {

namespace {

std::uint8_t Reg(const BridgeState& bridge, std::uint16_t address) {
    const auto it = bridge.registers.find(address);
    return it == bridge.registers.end() ? 0 : it->second;
}

bool RunWrite(BridgeState& bridge, I2cBus& bus, std::uint8_t slave, int count) {
    if (count == 0) return bus.Write(slave, {}, {});
    const std::array<std::uint8_t, 1> address{Reg(bridge, kEngineAddress)};
    std::array<std::uint8_t, 2> data{Reg(bridge, kEngineWrite0), Reg(bridge, kEngineWrite0 + 1)};
    return bus.Write(slave, address, std::span(data).first(static_cast<std::size_t>(count - 1)));
}

bool RunRead(BridgeState& bridge, I2cBus& bus, std::uint8_t slave, int count) {
    std::array<std::uint8_t, 3> data{};
    const auto bytes = std::span(data).first(static_cast<std::size_t>(count));
    const bool ack = bus.Read(slave, bytes);
    // The engine fills its read registers so that the last byte ends in 0x10D6.
    for (int i = 0; i < count; ++i) {
        bridge.registers[static_cast<std::uint16_t>(kEngineRead1 - (count - 1) + i)] =
            bytes[static_cast<std::size_t>(i)];
    }
    return ack;
}

}  // namespace

void EngineStart(BridgeState& bridge, I2cBus& bus, std::uint32_t busyReads, std::uint8_t statusBits) {
    const bool armed = Reg(bridge, kEngineArmA) == kEngineArmed && Reg(bridge, kEngineArmB) == kEngineArmed;
    bridge.registers[kEngineArmA] = 0;
    bridge.registers[kEngineArmB] = 0;
    if (!armed) {
        bridge.registers[kEngineControl] = 0;
        bridge.engineBusyLeft = 0;
        return;
    }
    const std::uint8_t control = bridge.engineControl;
    bool ok = false;
    if ((control & 0x80) != 0) {
        const std::uint8_t slave = Reg(bridge, kEngineSlave);
        const int count = (control >> 4) & 0x03;
        ok = (control & 0x02) != 0 ? RunRead(bridge, bus, slave, count) : RunWrite(bridge, bus, slave, count);
    }
    const std::uint8_t finished = ok ? kStatusFinished : static_cast<std::uint8_t>(kStatusFinished | kStatusError);
    bridge.registers[kEngineControl] = static_cast<std::uint8_t>(finished | (statusBits & ~kStatusReserved));
    bridge.engineBusyLeft = busyReads;
}

std::uint8_t EngineStatusRead(BridgeState& bridge) {
    if (bridge.engineBusyLeft > 0) {
        --bridge.engineBusyLeft;
        return kStatusBusy;
    }
    return Reg(bridge, kEngineControl);
}

}  // namespace kv::sim
