// The plug-in state that every CExtensionUnit of a process shares: the node
// id, and the list of filter controls (one per camera whose node instance
// was made), one of which is current.
//
// Locked: the register library's late workers call the plug-in from their
// own threads while a close ends it and a reopen fills it again.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/CaptureDevices.h"
#include "wire/Limits.h"

namespace kv::plugin {

class PluginState {
public:
    static constexpr std::size_t kMaxControls = wire::kMaxPluginControls;

    // The one instance of the process.
    static PluginState& Process();

    std::uint32_t nodeId() const;
    void SetNodeId(std::uint32_t nodeId);

    // Appends an entry (an empty one for a control that could not be had)
    // and makes it current; false, with nothing changed, on a full list.
    bool Append(std::shared_ptr<platform::KsControl> control);
    // Makes entry `number` current; false, with nothing changed, for a
    // number outside the list.
    bool Select(std::uint32_t number);
    // Drops every entry; nothing is current. A control that a request is
    // using stays alive until that request lets it go.
    void Clear();

    // The current control, shared with the caller for the length of one
    // request; null when there is none.
    std::shared_ptr<platform::KsControl> current() const;
    std::size_t count() const;

private:
    mutable std::mutex m_mutex;
    std::uint32_t m_nodeId = 0;
    // Each entry holds its own reference until Clear; the current control
    // is only a selection among them.
    std::array<std::shared_ptr<platform::KsControl>, kMaxControls> m_controls{};
    std::size_t m_count = 0;
    std::size_t m_current = kMaxControls;  // kMaxControls: none
};

}  // namespace kv::plugin
