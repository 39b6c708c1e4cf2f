// Bridge register reads and writes: plain storage, except the I2C engine's
// control/status and start registers and the LED line read-back.
#include "sim/hw/Bridge.h"

#include "sim/hw/I2cEngine.h"

namespace kv::sim {

Bridge::Bridge(const CameraConfig& config, BridgeState& state, I2cBus& bus)
    : config_(config), state_(state), bus_(bus) {}

std::uint8_t Bridge::Read(std::uint16_t address) {
    if (address == kEngineControl) return EngineStatusRead(state_);
    const auto it = state_.registers.find(address);
    return it == state_.registers.end() ? 0 : it->second;
}

void Bridge::Write(std::uint16_t address, std::uint8_t value) {
    switch (address) {
    case kEngineControl:
        // A new control byte clears the status of the previous transfer.
        state_.engineControl = value;
        state_.registers[kEngineControl] = 0;
        state_.engineBusyLeft = 0;
        return;
    case kRegLedIn:
        return;  // input register: the lines' state, not writable
    case kRegLedOut:
        state_.registers[kRegLedOut] = value;
        state_.registers[kRegLedIn] = value;
        return;
    default:
        state_.registers[address] = value;
        if (address == kEngineStart && value == kEngineGo)
            EngineStart(state_, bus_, config_.engineBusyReads, config_.engineStatusBits);
        return;
    }
}

int Bridge::I2cPort() const {
    const auto it = state_.registers.find(kRegI2cPort);
    return it != state_.registers.end() && (it->second & kI2cPort2Bit) != 0 ? 2 : 1;
}

void Bridge::NoteI2cResult(bool ok) {
    std::uint8_t& status = state_.registers[kRegI2cStatus];
    status =
        ok ? static_cast<std::uint8_t>(status & ~kI2cFailedBit) : static_cast<std::uint8_t>(status | kI2cFailedBit);
}

}  // namespace kv::sim
