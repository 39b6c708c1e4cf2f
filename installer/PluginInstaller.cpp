// Install_UvcCtrl's work: registering or unregistering the plug-in beside it.
#include "installer/PluginInstaller.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <optional>

#include "platform/ProgramFolder.h"
#include "platform/TextBasics.h"
#include "platform/Utf8.h"
#include "plugin/PluginIds.h"
#include "wire/VendorKeys.h"

namespace kv::installer {

namespace {

using platform::RegistryAccess;
using platform::RegistryRoot;
using platform::Utf8ToWide;

// The check accepts the minimum it asks for; DllRegisterServer itself
// records a lower one, so the check would otherwise start us at every open.
constexpr std::uint32_t kInstalledVersion = wire::kMinimumPluginVersion;
constexpr const char* kModuleName = "zelunit.dll";
constexpr const char* kUsage = "Usage: Install_UvcCtrl [/u] [/q]";

struct Options {
    bool unregister = false;
    bool quiet = false;
};

// The first unknown argument, if any, in `unknown`.
Options Parse(const std::vector<std::string>& arguments, std::optional<std::string>& unknown) {
    Options options;
    for (const auto& argument : arguments) {
        const std::string option = platform::ToLower(argument);
        if (option == "/u" || option == "-u") {
            options.unregister = true;
        } else if (option == "/q" || option == "-q") {
            options.quiet = true;
        } else if (!unknown) {
            unknown = argument;
        }
    }
    return options;
}

class Run {
public:
    Run(InstallerPorts& ports, const Options& options) : m_ports(ports), m_options(options) {
        m_folder = platform::ProgramFolder(ports.environment);
        if (!m_folder.empty()) m_folder.pop_back();  // the messages name it without its separator
        m_module = m_folder + ports.files.Separator() + kModuleName;
    }

    int Register() {
        // The plug-in records its own file; the version, written only once it
        // registered, is what tells the check that registration is complete.
        const int status = CallModule("DllRegisterServer", "Registering");
        if (status != kExitOk) return status;
        std::unique_ptr<platform::RegistryKey> key;
        long error = m_ports.registry.CreateKey(RegistryRoot::CurrentUser, Utf8ToWide(wire::kVendorKey),
                                                RegistryAccess::ReadWrite, key, nullptr);
        if (error == platform::kErrorSuccess) error = key->SetDword(Utf8ToWide(wire::kVersionValue), kInstalledVersion);
        if (error != platform::kErrorSuccess) {
            return Fail(kExitVendorKey,
                        "The camera plug-in is registered, but its version could not be recorded "
                        "under HKEY_CURRENT_USER\\" +
                            std::string(wire::kVendorKey) + " (error " + std::to_string(error) + ").");
        }
        return kExitOk;
    }

    // Everything that can be undone is, whatever failed before; the first
    // failure is reported. The version goes first, so that a registration
    // left half-removed is never taken for a complete one.
    int Unregister() {
        ForgetVersion();
        const int status = CallModule("DllUnregisterServer", "Unregistering");
        RemoveNodeInterface();
        return status;
    }

    int Fail(int status, const std::string& text) {
        if (!m_options.quiet) m_ports.ui.ShowMessageBox(text);
        return status;
    }

private:
    // Loaded by its full path only: an elevated process must not register
    // a zelunit.dll found in the current folder or along PATH.
    int CallModule(const char* entryName, const std::string& doing) {
        if (!m_ports.files.Exists(m_module)) {
            return Fail(kExitModuleMissing, std::string("The camera plug-in ") + kModuleName + " is not in " +
                                                m_folder + ". Reinstall Korvex Camera Control.");
        }
        const auto module = m_ports.modules.Load(m_module);
        if (!module) return Fail(kExitModuleNotLoaded, "The camera plug-in " + m_module + " could not be loaded.");
        using EntryPoint = std::int32_t(KV_WINAPI*)();
        const auto entry = reinterpret_cast<EntryPoint>(module->Symbol(entryName));
        if (!entry) {
            return Fail(kExitNoEntryPoint, m_module + " is not a camera plug-in: it has no " + entryName + ".");
        }
        const platform::HResult hr = entry();
        if (platform::Failed(hr)) {
            return Fail(kExitEntryPointFailed, doing + " the camera plug-in " + m_module + " failed (error " +
                                                   platform::FormatText("0x%08X", static_cast<unsigned>(hr)) +
                                                   "). Run Install_UvcCtrl.exe as an administrator.");
        }
        return kExitOk;
    }

    void ForgetVersion() {
        std::unique_ptr<platform::RegistryKey> key;
        if (m_ports.registry.OpenKey(RegistryRoot::CurrentUser, Utf8ToWide(wire::kVendorKey),
                                     RegistryAccess::ReadAndSetValues, key) == platform::kErrorSuccess) {
            key->DeleteValue(Utf8ToWide(wire::kVersionValue));
        }
    }

    // The plug-in's unregistration keeps the node-interface key; left behind,
    // it would have the proxy look for a class that is gone. Removed only
    // while it still names our class.
    void RemoveNodeInterface() {
        const std::wstring path = Utf8ToWide(wire::kPluginNodeInterfaceKey);
        std::unique_ptr<platform::RegistryKey> key;
        if (m_ports.registry.OpenKey(RegistryRoot::LocalMachine, path, RegistryAccess::ReadAndSetValues, key) !=
            platform::kErrorSuccess) {
            return;
        }
        std::vector<std::uint8_t> clsid;
        const auto ours = plugin::kClsidExtensionUnit.ToBytes();
        const bool named = key->ReadBinary(L"CLSID", clsid) == platform::kErrorSuccess &&
                           std::equal(clsid.begin(), clsid.end(), ours.begin(), ours.end());
        key.reset();
        if (named) m_ports.registry.DeleteTree(RegistryRoot::LocalMachine, path);
    }

    InstallerPorts& m_ports;
    Options m_options;
    std::string m_folder;
    std::string m_module;
};

}  // namespace

int RunInstaller(InstallerPorts& ports, const std::vector<std::string>& arguments) {
    std::optional<std::string> unknown;
    const Options options = Parse(arguments, unknown);
    Run run(ports, options);
    if (unknown) return run.Fail(kExitBadArguments, "Unknown option \"" + *unknown + "\".\n" + kUsage);
    return options.unregister ? run.Unregister() : run.Register();
}

}  // namespace kv::installer
