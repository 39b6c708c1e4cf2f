// The plug-in installation check: when it installs, how (the module
// registered by an elevated process, the installer started with an
// elevation request otherwise), from where, and the waits.
#include <gtest/gtest.h>

#include "ctrl/xulib/InstallCheck.h"
#include "tests/fakes/FakePorts.h"
#include "wire/VendorKeys.h"

namespace kv::ctrl::xulib {
namespace {

using platform::RegistryRoot;

int g_registrations = 0;
std::int32_t KV_WINAPI CountRegistration() {
    ++g_registrations;
    return 0;
}

class InstallCheckTest : public ::testing::Test {
protected:
    InstallCheckTest() {
        g_registrations = 0;
        fake.environment.modulePath = "C:\\Program Files\\Korvex\\KV_DS_Ctrl.exe";
        fake.environment.currentDirectory = "C:\\Users\\me";
        fake.modules.libraries["zelunit.dll"].entryPoints["DllRegisterServer"] =
            reinterpret_cast<void*>(&CountRegistration);
    }
    void Register(std::uint32_t version, const std::string& file, RegistryRoot root = RegistryRoot::CurrentUser) {
        const std::string where = test::FakeRegistry::Where(root, platform::Utf8ToWide(wire::kVendorKey));
        fake.registry.Put(where, "Version Number", version);
        fake.registry.PutText(where, "FileName Path", file);
        fake.files.files[file];
    }
    void Elevated() { fake.environment.elevationType = 2; }

    test::FakePorts fake;
    const std::string installer = "C:\\Program Files\\Korvex\\Install_UvcCtrl.exe";
};

TEST_F(InstallCheckTest, ARecentRegistrationWhoseFileExistsIsLeftAlone) {
    Register(0x1001, "C:\\Program Files\\Korvex\\zelunit.dll");
    RunInstallCheck(fake.ports);
    EXPECT_TRUE(fake.modules.loaded.empty());
    EXPECT_TRUE(fake.processes.startedElevated.empty());
    EXPECT_TRUE(fake.clock.sleeps.empty());
}

TEST_F(InstallCheckTest, TheVersionThePluginItselfWritesIsTooOldSoAnElevatedRunRegistersAgain) {
    Register(0x1000, "C:\\Program Files\\Korvex\\zelunit.dll");
    Elevated();
    RunInstallCheck(fake.ports);
    EXPECT_EQ(fake.modules.loaded, std::vector<std::string>{"program-folder:zelunit.dll"});
    EXPECT_EQ(g_registrations, 1);
    EXPECT_EQ(fake.clock.sleeps, std::vector<unsigned>{300});
}

TEST_F(InstallCheckTest, AMissingKeyOrFileStartsTheInstallerFromTheProgramFolderWhenNotElevated) {
    fake.files.files[installer];
    fake.files.files["C:\\Users\\me\\Install_UvcCtrl.exe"];
    RunInstallCheck(fake.ports);
    EXPECT_EQ(fake.processes.startedElevated, std::vector<std::string>{installer}) << "never the current folder's";
    EXPECT_EQ(fake.clock.sleeps, std::vector<unsigned>{1500});

    Register(0x2000, "C:\\gone\\zelunit.dll");
    fake.files.files.erase("C:\\gone\\zelunit.dll");
    RunInstallCheck(fake.ports);
    EXPECT_EQ(fake.processes.startedElevated.size(), 2u) << "a deleted file installs again";
}

// Another user of the machine has no key of their own: the setup's
// machine-wide copy passes for them, and is never created by the check.
TEST_F(InstallCheckTest, TheMachineWideRecordPassesWhenTheUsersOwnKeyDoesNot) {
    fake.files.files[installer];
    RunInstallCheck(fake.ports);
    EXPECT_EQ(fake.processes.startedElevated.size(), 1u);
    EXPECT_FALSE(fake.registry.Exists(std::string("HKLM\\") + wire::kVendorKey)) << "the machine key was created";

    Register(0x1001, "C:\\Program Files\\Korvex\\zelunit.dll", RegistryRoot::LocalMachine);
    RunInstallCheck(fake.ports);
    EXPECT_EQ(fake.processes.startedElevated.size(), 1u) << "an open with the machine record asked again";

    Register(0x1000, "C:\\Program Files\\Korvex\\zelunit.dll");  // the user's key, too old
    RunInstallCheck(fake.ports);
    EXPECT_EQ(fake.processes.startedElevated.size(), 1u) << "either hive passing is enough";

    Register(0x1001, "C:\\gone\\zelunit.dll", RegistryRoot::LocalMachine);
    fake.files.files.erase("C:\\gone\\zelunit.dll");
    RunInstallCheck(fake.ports);
    EXPECT_EQ(fake.processes.startedElevated.size(), 2u) << "neither hive passes";
    EXPECT_TRUE(fake.modules.loaded.empty());
}

// The key is read through the wide registry: a folder outside ASCII is the
// file it names, and a value of the wrong type is no registration.
TEST_F(InstallCheckTest, AFolderOutsideAsciiPassesAndAVersionOfTheWrongTypeDoesNot) {
    Register(0x1001,
             "C:\\Programme\\Kamera \xC3\x9C"
             "bersicht\\zelunit.dll");
    fake.files.files[installer];
    RunInstallCheck(fake.ports);
    EXPECT_TRUE(fake.processes.startedElevated.empty());

    fake.registry.PutText(std::string("HKCU\\") + wire::kVendorKey, "Version Number", "4097");
    RunInstallCheck(fake.ports);
    EXPECT_EQ(fake.processes.startedElevated, std::vector<std::string>{installer});
}

TEST_F(InstallCheckTest, WithoutTheInstallerOrWhenItsStartFailsNothingWaits) {
    RunInstallCheck(fake.ports);
    EXPECT_TRUE(fake.processes.startedElevated.empty());
    fake.files.files[installer];
    fake.processes.elevatedStartWorks = false;
    RunInstallCheck(fake.ports);
    EXPECT_EQ(fake.processes.startedElevated.size(), 1u);
    EXPECT_TRUE(fake.clock.sleeps.empty());
    EXPECT_TRUE(fake.modules.loaded.empty()) << "a process that is not elevated never registers itself";
}

TEST_F(InstallCheckTest, ElevationNeedsBothTokenAnswers) {
    fake.environment.elevationType = 2;
    fake.environment.elevation.reset();
    fake.files.files[installer];
    RunInstallCheck(fake.ports);
    EXPECT_EQ(fake.processes.startedElevated.size(), 1u);
    fake.environment.elevationType = 1;  // default type, but elevated
    fake.environment.elevation = 1;
    RunInstallCheck(fake.ports);
    EXPECT_EQ(g_registrations, 1);
}

TEST_F(InstallCheckTest, OlderWindowsRegistersDirectlyAtEveryOpen) {
    fake.environment.osVersion = platform::OsVersion{2, 5, 1};
    Register(0x2000, "C:\\Program Files\\Korvex\\zelunit.dll");
    RunInstallCheck(fake.ports);
    RunInstallCheck(fake.ports);
    EXPECT_EQ(g_registrations, 2);
}

TEST_F(InstallCheckTest, AModuleOutsideTheProgramFolderOrWithoutTheEntryPointRegistersNothing) {
    Elevated();
    fake.modules.libraries["zelunit.dll"].inProgramFolder = false;  // only on PATH or in the current folder
    RunInstallCheck(fake.ports);
    EXPECT_EQ(g_registrations, 0);
    EXPECT_TRUE(fake.clock.sleeps.empty()) << "a module that does not load ends the step without waiting";

    fake.modules.libraries["zelunit.dll"] = {};
    RunInstallCheck(fake.ports);
    EXPECT_EQ(g_registrations, 0);
}

}  // namespace
}  // namespace kv::ctrl::xulib
