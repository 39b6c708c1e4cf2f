// zelunit's self-registration.
#include "plugin/SelfRegistration.h"

#include <map>

#include "platform/Utf8.h"
#include "plugin/PluginIds.h"
#include "plugin/RegistryScript.h"
#include "wire/VendorKeys.h"

namespace kv::plugin {

namespace {

using platform::HResult;
using platform::RegistryAccess;
using platform::RegistryKey;
using platform::RegistryRoot;
using platform::Utf8ToWide;

// Unexpected: the module's own script is not readable.
constexpr HResult kBadScript = static_cast<HResult>(0x8000FFFFu);  // E_UNEXPECTED

void Report(const ServerRegistration& registration, long error, const char* what) {
    if (error != platform::kErrorSuccess && registration.debugOutput) {
        registration.debugOutput(std::string("RegSetValueEx '") + what + "' Failed ");
    }
}

// Left as it is when it exists already: the node interface of another
// install (or of an earlier one) is not rewritten.
void WriteNodeInterface(const ServerRegistration& registration) {
    std::unique_ptr<RegistryKey> key;
    bool created = false;
    if (registration.registry.CreateKey(RegistryRoot::LocalMachine, Utf8ToWide(wire::kPluginNodeInterfaceKey),
                                        RegistryAccess::ReadWrite, key, &created) != platform::kErrorSuccess ||
        !created) {
        return;
    }
    Report(registration, key->SetString(L"", Utf8ToWide(wire::kNodeInterfaceName)), "szFunctionName");
    Report(registration, key->SetBinary(L"CLSID", kClsidExtensionUnit.ToBytes()), "CLSID");
    Report(registration, key->SetBinary(L"IID", kIidExtensionUnit.ToBytes()), "IID");
}

void WriteVendorKey(const ServerRegistration& registration) {
    std::unique_ptr<RegistryKey> key;
    if (registration.registry.CreateKey(RegistryRoot::CurrentUser, Utf8ToWide(wire::kVendorKey),
                                        RegistryAccess::ReadWrite, key, nullptr) != platform::kErrorSuccess) {
        return;
    }
    Report(registration, key->SetDword(Utf8ToWide(wire::kVersionValue), wire::kRegisteredVersion), wire::kVersionValue);
    Report(registration, key->SetString(Utf8ToWide(wire::kFileValue), Utf8ToWide(registration.modulePath)),
           wire::kFileValue);
}

std::optional<RegistryScript> Script(const ServerRegistration& registration) {
    std::string error;
    auto script = ParseRegistryScript(registration.script, {{"MODULE", registration.modulePath}}, error);
    if (!script && registration.debugOutput) registration.debugOutput("zelunit registry script: " + error);
    return script;
}

}  // namespace

HResult RegisterServer(const ServerRegistration& registration) {
    WriteNodeInterface(registration);
    WriteVendorKey(registration);
    const auto script = Script(registration);
    if (!script) return kBadScript;
    const HResult hr = RegisterScript(*script, registration.registry);
    return platform::Failed(hr) ? hr : registration.typeLibrary.Register();
}

HResult UnregisterServer(const ServerRegistration& registration) {
    const auto script = Script(registration);
    const HResult scriptResult = script ? UnregisterScript(*script, registration.registry) : kBadScript;
    const HResult typeLibraryResult = registration.typeLibrary.Unregister();
    return platform::Failed(scriptResult) ? scriptResult : typeLibraryResult;
}

}  // namespace kv::plugin
