// What DllRegisterServer and DllUnregisterServer do, over the registry and
// the type library, so that the order of the writes and the debug texts can
// be checked without a Windows registry.
#pragma once

#include <functional>
#include <string>

#include "platform/Registry.h"

namespace kv::plugin {

// Registering and unregistering the type library the module carries.
class TypeLibrary {
public:
    virtual ~TypeLibrary() = default;
    virtual platform::HResult Register() = 0;
    virtual platform::HResult Unregister() = 0;
};

struct ServerRegistration {
    platform::Registry& registry;
    TypeLibrary& typeLibrary;
    // OutputDebugStringA.
    std::function<void(const std::string&)> debugOutput;
    // The module's own full path: %MODULE% of the script and "FileName Path".
    std::string modulePath;
    // The REGISTRY resource's text.
    std::string script;
};

// 1. The node-interface key (HKLM), written only when this call creates it:
//    default, "CLSID", "IID". 2. The vendor key (HKCU): "Version Number",
//    "FileName Path". 3. The script and the type library. A key that cannot
//    be had is skipped and a value that cannot be written is reported on the
//    debug output; the result is that of step 3 alone.
platform::HResult RegisterServer(const ServerRegistration& registration);

// Unregisters the script and the type library; the node-interface and vendor
// keys stay. The first failure, after both have been tried.
platform::HResult UnregisterServer(const ServerRegistration& registration);

}  // namespace kv::plugin
