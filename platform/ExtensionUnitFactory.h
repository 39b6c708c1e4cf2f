// Plug-in class port: our extension-unit plug-in (CExtensionUnit) created
// directly, in process, for its IExtensionUnit. Systems whose proxy makes no
// node instances reach the plug-in this way; a platform adapter that plays the
// proxy's part itself makes its node instances through it too.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/CaptureDevices.h"
#include "platform/HResult.h"

namespace kv::platform {

class ExtensionUnitFactory {
public:
    virtual ~ExtensionUnitFactory() = default;
    virtual HResult CreateExtensionUnit(std::shared_ptr<ExtensionUnit>& unit) = 0;
    // A node instance for `node`, as the platform's proxy makes one for the
    // interface `iid`: a plug-in object told the node and given the node's
    // `control`. By default the class is not registered for that.
    virtual HResult CreateNodeInstance(std::uint32_t /*node*/, const Guid& /*iid*/,
                                       std::shared_ptr<KsControl> /*control*/,
                                       std::shared_ptr<NodeInstance>& /*instance*/) {
        return kClassNotRegistered;
    }
};

// A platform where the plug-in class is not registered.
class AbsentExtensionUnitFactory : public ExtensionUnitFactory {
public:
    HResult CreateExtensionUnit(std::shared_ptr<ExtensionUnit>&) override { return kClassNotRegistered; }
};

}  // namespace kv::platform
