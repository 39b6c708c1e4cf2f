// Product id texts and model groups.
#include "gui/core/ProductGroups.h"

#include "ctrl/common/Text.h"

namespace kv::gui {

namespace {

bool InRange(const std::string& pid, const char* low, const char* high) { return pid >= low && pid <= high; }

}  // namespace

std::string PidTextOf(const std::string& deviceString) {
    const int at = ctrl::Find(deviceString, "pid");
    return ctrl::Mid(deviceString, (at < 0 ? -1 : at) + 4, 4);
}

bool IsFlcModel(const std::string& pid) { return InRange(pid, "0960", "099f") || InRange(pid, "09b0", "09bf"); }

bool IsDualSwitchModel(const std::string& pid) {
    return InRange(pid, "0910", "091f") || InRange(pid, "0980", "099f") || InRange(pid, "09b0", "09bf");
}

bool IsNoAeModel(const std::string& pid) { return pid == "0820" || pid == "0825" || pid == "0860" || pid == "0863"; }

}  // namespace kv::gui
