// The help text: the program's only self-description, carrying its version.
#pragma once

#include <array>
#include <string_view>

#include "platform/Console.h"

namespace kv::ctrl {

inline constexpr std::size_t kHelpLineCount = 46;
extern const std::array<std::string_view, kHelpLineCount> kHelpLines;

// One line at a time, each followed by a line feed and a flush.
void PrintHelp(platform::Console& console);

}  // namespace kv::ctrl
