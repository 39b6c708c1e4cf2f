// The shared plug-in state.
#include "plugin/PluginState.h"

namespace kv::plugin {

// Never destroyed: its entries hold other modules' objects, which must not be
// released from inside this module's unload at process exit (the process's
// end reclaims them).
PluginState& PluginState::Process() {
    static PluginState* const state = new PluginState;
    return *state;
}

bool PluginState::Append(std::shared_ptr<platform::KsControl> control) {
    if (m_count == kMaxControls) return false;
    m_current = control.get();
    m_controls[m_count++] = std::move(control);
    return true;
}

bool PluginState::Select(std::uint32_t number) {
    if (number >= m_count) return false;
    m_current = m_controls[number].get();
    return true;
}

void PluginState::Clear() {
    m_current = nullptr;
    for (auto& control : m_controls) control.reset();
    m_count = 0;
}

}  // namespace kv::plugin
