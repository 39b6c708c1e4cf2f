// Install_UvcCtrl's work: the plug-in beside the program is registered by its
// full path and the vendor key then carries a version the installation check
// accepts; every failure is a message box (none with /q) and its own nonzero
// status; /u removes what registration wrote, except the vendor key and a
// node interface that names another class.
#include <gtest/gtest.h>

#include "ctrl/xulib/InstallCheck.h"
#include "installer/PluginInstaller.h"
#include "plugin/PluginIds.h"
#include "tests/fakes/FakePorts.h"
#include "wire/VendorKeys.h"

namespace kv::installer {
namespace {

using test::FakeRegistry;
using test::RegistryValue;

constexpr const char* kFolder = "C:\\Program Files\\Korvex\\Camera Control";
constexpr const char* kModule = "C:\\Program Files\\Korvex\\Camera Control\\zelunit.dll";
const std::string kVendor = std::string("HKCU\\") + wire::kVendorKey;
const std::string kNode = std::string("HKLM\\") + wire::kPluginNodeInterfaceKey;
constexpr platform::HResult kAccessDenied = static_cast<platform::HResult>(0x80070005u);

// What the plug-in's entry points do: record the call and, when registering,
// write the vendor key as the real module does (version 0x1000).
struct Plugin {
    FakeRegistry* registry = nullptr;
    platform::HResult answer = platform::kS_OK;
    std::vector<std::string> calls;
};
Plugin g_plugin;

std::int32_t KV_WINAPI FakeRegisterServer() {
    g_plugin.calls.push_back("DllRegisterServer");
    g_plugin.registry->Put(kVendor, wire::kVersionValue, std::uint32_t{0x1000});
    g_plugin.registry->PutText(kVendor, wire::kFileValue, kModule);
    return g_plugin.answer;
}

std::int32_t KV_WINAPI FakeUnregisterServer() {
    g_plugin.calls.push_back("DllUnregisterServer");
    return g_plugin.answer;
}

class PluginInstallerTest : public ::testing::Test {
protected:
    PluginInstallerTest() {
        g_plugin = Plugin{};
        g_plugin.registry = &registry;
        fakes.environment.modulePath = std::string(kFolder) + "\\Install_UvcCtrl.exe";
        fakes.environment.currentDirectory = "C:\\Windows\\system32";
        fakes.files.files[kModule];
        fakes.modules.libraries[kModule].entryPoints = {
            {"DllRegisterServer", reinterpret_cast<void*>(&FakeRegisterServer)},
            {"DllUnregisterServer", reinterpret_cast<void*>(&FakeUnregisterServer)}};
    }

    int Run(std::vector<std::string> arguments = {}) {
        InstallerPorts ports{fakes.environment, fakes.files, fakes.modules, fakes.ui, fakes.registry};
        return RunInstaller(ports, arguments);
    }
    std::optional<std::uint32_t> Version() const {
        const RegistryValue* value = registry.Get(kVendor, wire::kVersionValue);
        if (value == nullptr || !std::holds_alternative<std::uint32_t>(*value)) return std::nullopt;
        return std::get<std::uint32_t>(*value);
    }
    void PutNodeInterface(const platform::Guid& clsid) {
        const auto bytes = clsid.ToBytes();
        registry.Put(kNode, "CLSID", std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
    void ExpectOneBoxSaying(const std::string& text) {
        ASSERT_EQ(fakes.ui.messageBoxes.size(), 1u);
        EXPECT_NE(fakes.ui.messageBoxes[0].find(text), std::string::npos) << fakes.ui.messageBoxes[0];
    }

    test::FakePorts fakes;
    FakeRegistry& registry = fakes.registry;
};

TEST_F(PluginInstallerTest, RegistersTheModuleBesideItByFullPathThenRecordsAnAcceptedVersion) {
    EXPECT_EQ(Run(), kExitOk);
    EXPECT_EQ(fakes.modules.loaded, std::vector<std::string>{kModule});
    EXPECT_EQ(g_plugin.calls, std::vector<std::string>{"DllRegisterServer"});
    // Written after the plug-in's own 0x1000, which the check would refuse.
    ASSERT_TRUE(Version());
    EXPECT_GE(*Version(), wire::kMinimumPluginVersion);
    EXPECT_TRUE(fakes.ui.messageBoxes.empty());
}

TEST_F(PluginInstallerTest, AMissingModuleIsReportedAndNothingElseIsLoadedInItsPlace) {
    fakes.files.files.clear();
    fakes.modules.libraries["zelunit.dll"] = fakes.modules.libraries[kModule];  // along the search path
    EXPECT_EQ(Run(), kExitModuleMissing);
    EXPECT_TRUE(fakes.modules.loaded.empty());
    EXPECT_FALSE(Version());
    ExpectOneBoxSaying(kFolder);
}

TEST_F(PluginInstallerTest, EveryFailureHasItsOwnStatusAndLeavesNoAcceptedVersion) {
    {
        SCOPED_TRACE("the module does not load");
        fakes.modules.libraries.clear();
        EXPECT_EQ(Run(), kExitModuleNotLoaded);
        ExpectOneBoxSaying(kModule);
    }
    {
        SCOPED_TRACE("no DllRegisterServer");
        fakes.ui.messageBoxes.clear();
        fakes.modules.libraries[kModule].entryPoints = {{"DllMain", reinterpret_cast<void*>(&FakeRegisterServer)}};
        EXPECT_EQ(Run(), kExitNoEntryPoint);
        ExpectOneBoxSaying("DllRegisterServer");
    }
    EXPECT_FALSE(Version());
}

TEST_F(PluginInstallerTest, AFailedRegistrationKeepsThePluginsOwnVersionAndSaysWhy) {
    g_plugin.answer = kAccessDenied;
    EXPECT_EQ(Run(), kExitEntryPointFailed);
    EXPECT_EQ(Version(), 0x1000u);  // the check goes on asking for registration
    ExpectOneBoxSaying("0x80070005");
}

TEST_F(PluginInstallerTest, AVendorKeyThatCannotBeWrittenIsAFailure) {
    registry.failingValues.insert(wire::kVersionValue);
    EXPECT_EQ(Run(), kExitVendorKey);
    ExpectOneBoxSaying(wire::kVendorKey);
}

TEST_F(PluginInstallerTest, QuietRunsReportOnlyThroughTheirStatus) {
    fakes.files.files.clear();
    EXPECT_EQ(Run({"/q"}), kExitModuleMissing);
    EXPECT_EQ(Run({"-Q", "/U"}), kExitModuleMissing);
    EXPECT_TRUE(fakes.ui.messageBoxes.empty());
}

TEST_F(PluginInstallerTest, AnUnknownOptionDoesNothingAndShowsTheUsage) {
    EXPECT_EQ(Run({"/uninstall"}), kExitBadArguments);
    EXPECT_TRUE(g_plugin.calls.empty());
    ExpectOneBoxSaying("Usage: Install_UvcCtrl [/u] [/q]");
}

TEST_F(PluginInstallerTest, UnregisteringRemovesTheVersionAndOurNodeInterfaceButKeepsTheVendorKey) {
    ASSERT_EQ(Run(), kExitOk);
    PutNodeInterface(plugin::kClsidExtensionUnit);
    EXPECT_EQ(Run({"/U"}), kExitOk);
    EXPECT_EQ(g_plugin.calls, (std::vector<std::string>{"DllRegisterServer", "DllUnregisterServer"}));
    EXPECT_FALSE(Version());
    EXPECT_TRUE(registry.Exists(kVendor));
    EXPECT_NE(registry.Get(kVendor, wire::kFileValue), nullptr);
    EXPECT_FALSE(registry.Exists(kNode));
}

TEST_F(PluginInstallerTest, UnregisteringLeavesANodeInterfaceOfAnotherClass) {
    PutNodeInterface(platform::MakeGuid("{11111111-2222-3333-4444-555555555555}"));
    EXPECT_EQ(Run({"/u"}), kExitOk);
    EXPECT_TRUE(registry.Exists(kNode));
}

TEST_F(PluginInstallerTest, UnregisteringWithoutTheModuleStillUndoesWhatItCanAndReportsIt) {
    registry.Put(kVendor, wire::kVersionValue, std::uint32_t{0x1001});
    PutNodeInterface(plugin::kClsidExtensionUnit);
    fakes.files.files.clear();
    EXPECT_EQ(Run({"/u"}), kExitModuleMissing);
    EXPECT_FALSE(Version());
    EXPECT_FALSE(registry.Exists(kNode));
    ExpectOneBoxSaying("zelunit.dll");
}

TEST_F(PluginInstallerTest, AFailedUnregistrationIsReported) {
    g_plugin.answer = kAccessDenied;
    EXPECT_EQ(Run({"/u"}), kExitEntryPointFailed);
    ExpectOneBoxSaying("Unregistering");
}

}  // namespace
}  // namespace kv::installer
