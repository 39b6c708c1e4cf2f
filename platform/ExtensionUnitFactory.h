// Plug-in class port: our extension-unit plug-in (CExtensionUnit) created
// directly, in process, for its IExtensionUnit. Systems whose proxy makes no
// node instances reach the plug-in this way.
#pragma once

#include <memory>

#include "platform/CaptureDevices.h"
#include "platform/HResult.h"

namespace kv::platform {

class ExtensionUnitFactory {
public:
    virtual ~ExtensionUnitFactory() = default;
    virtual HResult CreateExtensionUnit(std::shared_ptr<ExtensionUnit>& unit) = 0;
};

// A platform where the plug-in class is not registered.
class AbsentExtensionUnitFactory : public ExtensionUnitFactory {
public:
    HResult CreateExtensionUnit(std::shared_ptr<ExtensionUnit>&) override { return kClassNotRegistered; }
};

}  // namespace kv::platform
