// What the form remembers per camera row while the window lives.
#pragma once

#include <array>
#include <cstdint>

namespace kv::gui {

enum class LedMode : std::int16_t { None = -1, Off = 0, Led1 = 1, Led2 = 2, Flc = 4 };

struct CameraSettings {
    std::int16_t flcLevel = 0;
    std::int16_t flcPattern = 0;  // bit 0: cmdFLC1 ... bit 3: cmdFLC4
    std::int16_t axiLevel = 0;
    std::int16_t evValue = 0;
    LedMode ledMode = LedMode::Off;
    std::int16_t axiCaps = 0;  // the camera list's AXI answer
};

// Rows 0 to 16; rows 0 to 15 start with the form's initial values, row 16
// with zeros. A row outside the table has no entry: nothing is stored for it
// and it reads as a row with the initial values.
class CameraSettingsTable {
public:
    static constexpr int kRows = 17;
    static constexpr CameraSettings kInitial{6, 15, 6, 81, LedMode::None, 0};

    CameraSettingsTable();
    // Null outside the table.
    CameraSettings* Find(int row);
    CameraSettings Read(int row) const;

private:
    std::array<CameraSettings, kRows> m_rows{};
};

}  // namespace kv::gui
