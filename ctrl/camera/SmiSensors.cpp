// The sensors of the SMIUtility cameras, through the library's
// sensor-register entry points.
#include "ctrl/camera/SmiSensors.h"

#include <cstdlib>
#include <utility>

namespace kv::ctrl {

namespace {

constexpr std::pair<int, int> kSensorInit[] = {
    {0x538B, 0x50}, {0x538F, 0x30}, {0x5391, 0xC0}, {0x5588, 0x2C}, {0x5583, 0x40}, {0x5584, 0x50}, {0x5196, 0x03},
    {0x5184, 0x65}, {0x531E, 0x00}, {0x531F, 0x00}, {0x4405, 0x16}, {0x4406, 0x12}, {0x4407, 0x06}, {0x3A01, 0x05}};

struct WindowRow {
    const char* reg;
    const char* full;  // 2592 x 1944
    const char* half;  // 1280 x 960
};
constexpr WindowRow kWindow[] = {{"0x3804", "0x0A", "0x05"}, {"0x3805", "0x20", "0x00"}, {"0x3806", "0x07", "0x03"},
                                 {"0x3807", "0x98", "0xC0"}, {"0x5682", "0x0A", "0x05"}, {"0x5683", "0x20", "0x00"},
                                 {"0x5686", "0x07", "0x03"}, {"0x5687", "0x98", "0xC0"}};

// Hexadecimal with an optional 0x prefix; texts are ASCII here, so the
// code-page conversion of the wide texts changes nothing.
int ParseHex(const std::string& text) { return static_cast<int>(std::strtoul(text.c_str(), nullptr, 16)); }

}  // namespace

void SmiSensors::WriteInitTable(int productId) {
    for (const auto& [reg, value] : kSensorInit) m_smi.SetSensorRegisterByVidPid(reg, value, productId);
}

int SmiSensors::SmiSensor810_Write(int reg, int value) { return m_smi.SetSensorRegisterByVidPid(reg, value, 0x810); }

int SmiSensors::SmiSensor_WriteHex(int productId, const std::string& regText, const std::string& valueText) {
    return m_smi.SetSensorRegisterByVidPid(ParseHex(regText), ParseHex(valueText), productId);
}

int SmiSensors::SmiSensor_ReadHex(int productId, const std::string& regText, int* value) {
    if (!value) return 0;
    return m_smi.GetSensorRegisterByVidPid(ParseHex(regText), value, productId);
}

void SmiSensors::SensorWindow_Set(int productId, int mode) {
    const int set = mode & 0xFF;
    const bool full = set == 1 || set >= 3;
    for (const WindowRow& row : kWindow) SmiSensor_WriteHex(productId, row.reg, full ? row.full : row.half);
}

}  // namespace kv::ctrl
