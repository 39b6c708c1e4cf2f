// Which video-input devices are Korvex cameras, and how many a run keeps:
// the one rule KV_DS_Ctrl's camera table and KV_GUI_Ctrl's camera list share,
// so that the GUI's row r is the console program's camera r + 1.
#pragma once

#include <string>

namespace kv::ctrl {

// Korvex cameras kept per enumeration, in enumeration order; later ones are
// ignored.
inline constexpr int kMaxKorvexCameras = 10;

// True when the lower-cased device path carries the Korvex vendor id
// ("vid_a168" after its first character).
bool IsKorvexDevicePath(const std::string& lowerDevicePath);

}  // namespace kv::ctrl
