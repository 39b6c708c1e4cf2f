// The plug-in class in process: the plug-in's portable core made directly,
// for a host whose video driver has no plug-in mechanism of its own (Linux).
// The program's composition point hands it to the platform's adapters, which
// so never know the plug-in.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/ExtensionUnitFactory.h"

namespace kv::plugin {

class InProcessPlugin : public platform::ExtensionUnitFactory {
public:
    platform::HResult CreateExtensionUnit(std::shared_ptr<platform::ExtensionUnit>& unit) override;
    // IKsNodeControl or the plug-in's own interface; any other answers
    // kE_NOINTERFACE. A control the plug-in refuses fails the instance.
    platform::HResult CreateNodeInstance(std::uint32_t node, const platform::Guid& iid,
                                         std::shared_ptr<platform::KsControl> control,
                                         std::shared_ptr<platform::NodeInstance>& instance) override;
};

}  // namespace kv::plugin
