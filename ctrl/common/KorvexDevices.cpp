// The Korvex device rule.
#include "ctrl/common/KorvexDevices.h"

#include "ctrl/common/Text.h"

namespace kv::ctrl {

bool IsKorvexDevicePath(const std::string& lowerDevicePath) { return FoundAfterStart(lowerDevicePath, "vid_a168"); }

}  // namespace kv::ctrl
