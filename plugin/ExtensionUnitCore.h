// The portable heart of CExtensionUnit: IExtensionUnit's property methods as
// kernel-streaming node requests on the current control of the shared
// plug-in state, and IKsNodeControl's side that fills that state. The COM
// class on Windows and the simulated topology on the host both wrap it.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/CaptureDevices.h"
#include "plugin/PluginState.h"

namespace kv::plugin {

// A property method without a current control (none given yet, `end`
// called, or the selected entry is one whose control could not be had).
constexpr platform::HResult kNotReady = static_cast<platform::HResult>(0x80070015u);  // ERROR_NOT_READY
// put_KsControl on a list that already holds kMaxControls entries.
constexpr platform::HResult kControlListFull = platform::kE_FAIL;

class ExtensionUnitCore : public platform::ExtensionUnit {
public:
    explicit ExtensionUnitCore(PluginState& state = PluginState::Process()) : m_state(state) {}

    // IExtensionUnit.
    platform::HResult get_InfoSize(std::uint32_t* size) override;
    platform::HResult get_Info(std::uint32_t size, std::uint8_t* info) override;
    platform::HResult get_PropertySize(std::uint32_t id, std::uint32_t* size) override;
    platform::HResult get_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) override;
    platform::HResult put_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) override;
    platform::HResult is_Ready(std::uint32_t* ready) override;
    platform::HResult SwitchHandle(std::uint32_t deviceNumber) override;
    platform::HResult end() override;

    // IKsNodeControl.
    platform::HResult put_NodeId(std::uint32_t nodeId);
    // `control` is the filter's IKsControl, null when the filter did not
    // answer the query: an empty entry is appended and becomes current.
    // kS_OK, kE_NOINTERFACE for an empty entry, kControlListFull.
    platform::HResult put_KsControl(std::shared_ptr<platform::KsControl> control);

private:
    platform::HResult Size(std::uint32_t id, std::uint32_t* size);
    platform::HResult Transfer(std::uint32_t id, std::uint32_t flags, std::uint32_t size, std::uint8_t* data);

    PluginState& m_state;
};

}  // namespace kv::plugin
