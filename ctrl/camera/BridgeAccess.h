// The bridge (ASIC) registers through the bridge extension unit of the bound
// filter, and the sensor behind the bridge's I2C master engine.
#pragma once

#include <array>
#include <cstdint>

#include "ctrl/camera/FilterPair.h"
#include "platform/Ui.h"

namespace kv::ctrl {

class BridgeAccess {
public:
    BridgeAccess(FilterPair& filterPair, platform::Ui& ui) : m_filterPair(filterPair), m_ui(ui) {}

    // Results: 1 success, 0 failure.
    int Asic_Write(int address, int value);
    int Asic_Read(int address, std::uint8_t* value);
    int Asic_ReadWriteTrace(int value, std::uint8_t* out);
    int Sensor_Write(int slave, int reg, unsigned value, int width);
    int Sensor_Read(int slave, int reg, std::uint16_t* value, int width);
    void Sensor21_Init();
    void Sensor21_Probe();

private:
    platform::HResult AsicRequest(std::uint32_t flags, std::array<std::uint8_t, 4>& block);
    bool I2cTransferSucceeds();

    FilterPair& m_filterPair;
    platform::Ui& m_ui;
};

}  // namespace kv::ctrl
