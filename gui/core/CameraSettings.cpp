// The per-camera settings table.
#include "gui/core/CameraSettings.h"

namespace kv::gui {

CameraSettingsTable::CameraSettingsTable() {
    for (int row = 0; row < kRows - 1; ++row) m_rows[static_cast<std::size_t>(row)] = kInitial;
}

CameraSettings* CameraSettingsTable::Find(int row) {
    if (row < 0 || row >= kRows) return nullptr;
    return &m_rows[static_cast<std::size_t>(row)];
}

CameraSettings CameraSettingsTable::Read(int row) const {
    if (row < 0 || row >= kRows) return kInitial;
    return m_rows[static_cast<std::size_t>(row)];
}

}  // namespace kv::gui
