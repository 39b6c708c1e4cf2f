// The product id text of a camera's device string and the model groups the
// form tells apart by it (texts compared as text, bounds included).
#pragma once

#include <string>

namespace kv::gui {

// The four characters that start four characters after the first "pid" (the
// digits after "pid_"). Without "pid" it is the four characters from the
// fourth on: a meaningless text that falls in no group.
std::string PidTextOf(const std::string& deviceString);

// "0960" to "099f", "09b0" to "09bf": cameras with the FLC LED controller.
bool IsFlcModel(const std::string& pidText);
// "0910" to "091f", "0980" to "099f", "09b0" to "09bf".
bool IsDualSwitchModel(const std::string& pidText);
// "0820", "0825", "0860", "0863": auto exposure cannot be switched on.
bool IsNoAeModel(const std::string& pidText);
// "0978": AXI LED handled on its own.
inline constexpr const char* kSpecialAxiModel = "0978";

}  // namespace kv::gui
