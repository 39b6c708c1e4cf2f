// The plug-in state that every CExtensionUnit of a process shares: the node
// id, and the list of filter controls (one per camera whose node instance
// was made), one of which is current.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/CaptureDevices.h"

namespace kv::plugin {

class PluginState {
public:
    static constexpr std::size_t kMaxControls = 24;

    // The one instance of the process.
    static PluginState& Process();

    std::uint32_t nodeId() const { return m_nodeId; }
    void SetNodeId(std::uint32_t nodeId) { m_nodeId = nodeId; }

    // Appends an entry (an empty one for a control that could not be had)
    // and makes it current; false, with nothing changed, on a full list.
    bool Append(std::shared_ptr<platform::KsControl> control);
    // Makes entry `number` current; false, with nothing changed, for a
    // number outside the list.
    bool Select(std::uint32_t number);
    // Drops every entry; nothing is current.
    void Clear();

    platform::KsControl* current() const { return m_current; }
    std::size_t count() const { return m_count; }

private:
    std::uint32_t m_nodeId = 0;
    // Each entry holds its own reference until Clear; the current control
    // is only a selection among them.
    std::array<std::shared_ptr<platform::KsControl>, kMaxControls> m_controls{};
    std::size_t m_count = 0;
    platform::KsControl* m_current = nullptr;
};

}  // namespace kv::plugin
