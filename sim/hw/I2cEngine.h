// The bridge chip's I2C master engine, driven through bridge registers
// 0x10D0 to 0x10D9.
#pragma once

#include <cstdint>

#include "sim/hw/CameraState.h"
#include "sim/hw/I2cBus.h"

namespace kv::sim {

constexpr std::uint16_t kEngineControl = 0x10D0;  // control when written, status when read
constexpr std::uint16_t kEngineSlave = 0x10D1;
constexpr std::uint16_t kEngineAddress = 0x10D2;
constexpr std::uint16_t kEngineWrite0 = 0x10D3;
constexpr std::uint16_t kEngineRead0 = 0x10D5;
constexpr std::uint16_t kEngineRead1 = 0x10D6;
constexpr std::uint16_t kEngineStart = 0x10D7;
constexpr std::uint16_t kEngineArmA = 0x10D8;
constexpr std::uint16_t kEngineArmB = 0x10D9;
constexpr std::uint8_t kEngineGo = 0x10;
constexpr std::uint8_t kEngineArmed = 0x01;

constexpr std::uint8_t kStatusBusy = 0x01;
constexpr std::uint8_t kStatusFinished = 0x04;
constexpr std::uint8_t kStatusError = 0x08;
// Status bits a rig may add to a finished status: none of busy, finished, error.
constexpr std::uint8_t kStatusReserved = kStatusBusy | kStatusFinished | kStatusError;

// Runs the transfer the control byte describes. Control bit 7 enables the
// engine; bit 1 selects a read; bits 4-5 count the bytes after the slave
// address: for a write the register byte (0x10D2) and then data from 0x10D3,
// for a read the data bytes, which land so that the last one is in 0x10D6.
// The status becomes finished, with the error bit when nothing acknowledged,
// and `statusBits` added, and answers busy for busyReads status reads first.
// The engine runs only when 0x10D8 and 0x10D9 were both written with 1 since
// the last start; a start clears them, so every transfer must set them again.
// A start that finds them otherwise does nothing: the status stays 0 (never
// finished).
void EngineStart(BridgeState& bridge, I2cBus& bus, std::uint32_t busyReads, std::uint8_t statusBits);

// One read of the status register.
std::uint8_t EngineStatusRead(BridgeState& bridge);

}  // namespace kv::sim
