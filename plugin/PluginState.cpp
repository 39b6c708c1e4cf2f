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

std::uint32_t PluginState::nodeId() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_nodeId;
}

void PluginState::SetNodeId(std::uint32_t nodeId) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_nodeId = nodeId;
}

bool PluginState::Append(std::shared_ptr<platform::KsControl> control) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_count == kMaxControls) return false;
    m_current = m_count;
    m_controls[m_count++] = std::move(control);
    return true;
}

bool PluginState::Select(std::uint32_t number) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (number >= m_count) return false;
    m_current = number;
    return true;
}

void PluginState::Clear() {
    std::array<std::shared_ptr<platform::KsControl>, kMaxControls> released;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        released.swap(m_controls);
        m_count = 0;
        m_current = kMaxControls;
    }
    // Released outside the lock: a control's release may call back into the
    // plug-in.
}

std::shared_ptr<platform::KsControl> PluginState::current() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_current < m_count ? m_controls[m_current] : nullptr;
}

std::size_t PluginState::count() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_count;
}

}  // namespace kv::plugin
