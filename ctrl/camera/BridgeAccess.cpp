// The bridge (ASIC) registers through the extension unit, and the sensor
// behind the bridge's I2C master engine.
#include "ctrl/camera/BridgeAccess.h"

#include <string>
#include <utility>

#include "wire/BridgeRegister.h"

namespace kv::ctrl {

namespace {

// I2C master engine registers of the bridge.
constexpr int kI2cControlStatus = 0x10D0;
constexpr int kI2cSlave = 0x10D1;
constexpr int kI2cRegister = 0x10D2;
constexpr int kI2cWriteHigh = 0x10D3;
constexpr int kI2cWriteLow = 0x10D4;
constexpr int kI2cReadHigh = 0x10D5;
constexpr int kI2cReadLow = 0x10D6;
constexpr int kI2cStart = 0x10D7;
constexpr int kI2cArm1 = 0x10D8;
constexpr int kI2cArm2 = 0x10D9;

constexpr std::uint8_t kStatusFinished = 0x04;
constexpr std::uint8_t kStatusMask = 0x0C;
constexpr int kStatusPolls = 10;

int Capped(int width) { return width > 2 ? 2 : width; }

}  // namespace

platform::HResult BridgeAccess::AsicRequest(std::uint32_t flags, std::array<std::uint8_t, 4>& block) {
    if (!m_filterPair.baseFilter || !m_filterPair.ksControl) return platform::kE_POINTER;
    const auto request = wire::BridgeRequest(flags);
    std::uint32_t returned = 0;
    return m_filterPair.ksControl->KsProperty(request.data(), static_cast<std::uint32_t>(request.size()), block.data(),
                                              static_cast<std::uint32_t>(block.size()), &returned);
}

int BridgeAccess::Asic_Write(int address, int value) {
    wire::BridgeBlock block = wire::BridgeWriteBlock(address, value);
    return AsicRequest(wire::kNodeSet, block) == platform::kS_OK ? 1 : 0;
}

int BridgeAccess::Asic_Read(int address, std::uint8_t* value) {
    if (!value) return 0;
    wire::BridgeBlock latch = wire::BridgeLatchBlock(address);
    if (platform::Failed(AsicRequest(wire::kNodeSet, latch))) return 0;
    wire::BridgeBlock reply{};
    if (AsicRequest(wire::kNodeGet, reply) != platform::kS_OK) return 0;
    *value = reply[2];
    return 1;
}

// Needs the object's own source filter, which nothing in this program sets.
int BridgeAccess::Asic_ReadWriteTrace(int /*value*/, std::uint8_t* /*out*/) { return 0; }

bool BridgeAccess::I2cTransferSucceeds() {
    std::uint8_t status = 0;
    for (int reads = 0; (status & kStatusFinished) == 0 && reads < kStatusPolls; ++reads) {
        Asic_Read(kI2cControlStatus, &status);
    }
    return (status & kStatusMask) == kStatusFinished;
}

int BridgeAccess::Sensor_Write(int slave, int reg, unsigned value, int width) {
    // Every register write below would fail anyway; without a device the
    // transfer cannot start, so report that before sending anything.
    if (!m_filterPair.baseFilter || !m_filterPair.ksControl) return 0;
    const int n = Capped(width < 0 ? 0 : width);
    Asic_Write(kI2cArm2, 1);
    Asic_Write(kI2cArm1, 1);
    Asic_Write(kI2cControlStatus, 0x80 | ((n + 1) << 4));
    Asic_Write(kI2cSlave, slave);
    Asic_Write(kI2cRegister, reg);
    const unsigned high = n == 2 ? value >> 8 : n == 1 ? value : 0;
    const unsigned low = n == 2 ? value : 0;
    Asic_Write(kI2cWriteHigh, static_cast<int>(high));
    Asic_Write(kI2cWriteLow, static_cast<int>(low));
    Asic_Write(kI2cReadHigh, 0);
    Asic_Write(kI2cReadLow, 0);
    Asic_Write(kI2cStart, 0x10);
    return I2cTransferSucceeds() ? 1 : 0;
}

int BridgeAccess::Sensor_Read(int slave, int reg, std::uint16_t* value, int width) {
    if (width <= 0 || !value) return 0;
    const int n = Capped(width);
    if (!Sensor_Write(slave, reg, 0, 0)) return 0;
    Asic_Write(kI2cArm2, 1);
    Asic_Write(kI2cArm1, 1);
    Asic_Write(kI2cControlStatus, 0x82 | (n << 4));
    Asic_Write(kI2cSlave, slave);
    for (int address = kI2cRegister; address <= kI2cReadLow; ++address) Asic_Write(address, 0);
    Asic_Write(kI2cStart, 0x10);
    if (!I2cTransferSucceeds()) return 0;

    // The engine wants its data registers read in address order; only the
    // two data bytes count.
    std::uint8_t byte = 0;
    for (int address = kI2cRegister; address <= kI2cReadHigh; ++address) Asic_Read(address, &byte);
    std::uint16_t result = n == 2 ? static_cast<std::uint16_t>(byte << 8) : 0;
    Asic_Read(kI2cReadLow, &byte);
    result = n == 2 ? static_cast<std::uint16_t>(result | byte) : byte;
    *value = result;
    return 1;
}

void BridgeAccess::Sensor21_Init() {
    static constexpr std::pair<int, unsigned> kWrites[] = {{0x46, 0x05}, {0x47, 0x00}, {0x48, 0x00}, {0x49, 0x11},
                                                           {0x4A, 0x00}, {0x4B, 0x10}, {0x4C, 0x10}};
    for (const auto& [reg, value] : kWrites) Sensor_Write(0x21, reg, value, 1);
}

void BridgeAccess::Sensor21_Probe() {
    std::uint16_t probed = 255;
    Sensor_Read(0x21, 0x46, &probed, 1);
    m_ui.ShowMessageBox(std::to_string(probed));
    static constexpr std::pair<int, unsigned> kWrites[] = {{0x46, 0x01}, {0x47, 0x00}, {0x49, 0x20}, {0x7B, 0xA0},
                                                           {0x7C, 0x30}, {0x7D, 0x70}, {0x42, 0x7E}, {0x45, 0x7E}};
    for (const auto& [reg, value] : kWrites) Sensor_Write(0x21, reg, value, 1);
}

}  // namespace kv::ctrl
