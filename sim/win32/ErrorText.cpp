// The simulator's error messages.
#include "sim/win32/ErrorText.h"

#include "platform/TextBasics.h"

namespace kv::sim::win32 {

std::string WithWin32Error(const std::string& text, DWORD code) {
    return text + " (error " + std::to_string(code) + ")";
}

std::string WithHResult(const std::string& text, HRESULT hr) {
    return text + platform::FormatText(" (0x%08lX)", static_cast<unsigned long>(hr));
}

}  // namespace kv::sim::win32
