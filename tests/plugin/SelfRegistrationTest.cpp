// DllRegisterServer and DllUnregisterServer: the node-interface key only
// when new, the vendor key every time, the script and the type library, the
// debug texts of failed writes, and what unregistering leaves.
#include <gtest/gtest.h>

#include "plugin/PluginIds.h"
#include "plugin/SelfRegistration.h"
#include "tests/fakes/FakeRegistry.h"
#include "wire/VendorKeys.h"
#include "zelunit_rgs.h"

namespace kv::plugin::test {
namespace {

using kv::test::FakeRegistry;
using kv::test::RegistryValue;
using platform::HResult;
using platform::kS_OK;

constexpr const char* kModule = "D:\\Drivers\\Korvex\\zelunit.dll";
const std::string kNode = std::string("HKLM\\") + wire::kPluginNodeInterfaceKey;
const std::string kVendor = std::string("HKCU\\") + wire::kVendorKey;
constexpr HResult kTypeLibFailure = static_cast<HResult>(0x80029C4Au);  // TYPE_E_CANTLOADLIBRARY

class FakeTypeLibrary : public TypeLibrary {
public:
    HResult Register() override {
        ++registered;
        return answer;
    }
    HResult Unregister() override {
        ++unregistered;
        return answer;
    }
    int registered = 0;
    int unregistered = 0;
    HResult answer = kS_OK;
};

class SelfRegistrationTest : public ::testing::Test {
protected:
    ServerRegistration Registration() {
        return ServerRegistration{registry, typeLibrary, [this](const std::string& text) { debug.push_back(text); },
                                  kModule, script};
    }
    template <class T>
    T Read(const std::string& where, const std::string& name) {
        const RegistryValue* value = registry.Get(where, name);
        EXPECT_NE(value, nullptr) << where << " [" << name << "]";
        return value != nullptr && std::holds_alternative<T>(*value) ? std::get<T>(*value) : T{};
    }

    std::string ReadText(const std::string& where, const std::string& name) {
        return platform::WideToUtf8(Read<std::wstring>(where, name));
    }

    FakeRegistry registry;
    FakeTypeLibrary typeLibrary;
    std::vector<std::string> debug;
    std::string script = kZelunitRgs;
};

TEST_F(SelfRegistrationTest, WritesTheNodeInterfaceTheVendorKeyTheScriptAndTheTypeLibrary) {
    ASSERT_EQ(RegisterServer(Registration()), kS_OK);
    EXPECT_EQ(ReadText(kNode, ""), "USB Extension Unit Interface Handler");
    EXPECT_EQ(Read<std::vector<std::uint8_t>>(kNode, "CLSID"),
              (std::vector<std::uint8_t>{0xA0, 0x2D, 0x43, 0xA0, 0x87, 0xA8, 0xF8, 0x45, 0xB2, 0x8B, 0x66, 0x93, 0xC6,
                                         0xB9, 0xE6, 0x19}));
    EXPECT_EQ(Read<std::vector<std::uint8_t>>(kNode, "IID"),
              (std::vector<std::uint8_t>{0xC0, 0xB5, 0x92, 0x6E, 0x8A, 0x4D, 0x2A, 0x40, 0xB5, 0x6C, 0xD2, 0xD2, 0x92,
                                         0xE0, 0x23, 0x3B}));
    EXPECT_EQ(Read<std::uint32_t>(kVendor, "Version Number"), 4096u);
    // The module's own path, wherever registration runs from.
    EXPECT_EQ(ReadText(kVendor, "FileName Path"), kModule);
    EXPECT_EQ(ReadText("HKCR\\CLSID\\{A0432DA0-A887-45F8-B28B-6693C6B9E619}\\InprocServer32", ""), kModule);
    EXPECT_EQ(typeLibrary.registered, 1);
    EXPECT_TRUE(debug.empty());

    const std::vector<std::string> first(registry.log.begin(), registry.log.begin() + 7);
    EXPECT_EQ(first,
              (std::vector<std::string>{
                  "create " + kNode, "set " + kNode + " []", "set " + kNode + " [CLSID]", "set " + kNode + " [IID]",
                  "create " + kVendor, "set " + kVendor + " [Version Number]", "set " + kVendor + " [FileName Path]"}));
}

TEST_F(SelfRegistrationTest, ASecondRegistrationLeavesTheNodeInterfaceAndRewritesTheVendorKey) {
    ASSERT_EQ(RegisterServer(Registration()), kS_OK);
    registry.PutText(kNode, "", "Another handler");
    registry.Put(kVendor, "Version Number", std::uint32_t{1});
    registry.PutText(kVendor, "FileName Path", "C:\\old\\zelunit.dll");
    registry.log.clear();
    ASSERT_EQ(RegisterServer(Registration()), kS_OK);
    EXPECT_EQ(ReadText(kNode, ""), "Another handler");
    EXPECT_EQ(Read<std::uint32_t>(kVendor, "Version Number"), 4096u);
    EXPECT_EQ(ReadText(kVendor, "FileName Path"), kModule);
    EXPECT_EQ(registry.log[1], "create " + kVendor);
}

TEST_F(SelfRegistrationTest, FailedWritesAreReportedAndRegistrationGoesOn) {
    registry.failingValues = {"", "CLSID", "IID", "Version Number", "FileName Path"};
    // The script's default values fail too: its result is the answer.
    EXPECT_EQ(RegisterServer(Registration()), platform::FromWin32(platform::kErrorAccessDenied));
    EXPECT_EQ(debug,
              (std::vector<std::string>{"RegSetValueEx 'szFunctionName' Failed ", "RegSetValueEx 'CLSID' Failed ",
                                        "RegSetValueEx 'IID' Failed ", "RegSetValueEx 'Version Number' Failed ",
                                        "RegSetValueEx 'FileName Path' Failed "}));
}

TEST_F(SelfRegistrationTest, KeysThatCannotBeHadAreSkippedSilently) {
    registry.failingKeys = {kNode, kVendor};
    EXPECT_EQ(RegisterServer(Registration()), kS_OK);
    EXPECT_TRUE(debug.empty());
    EXPECT_FALSE(registry.Exists(kVendor));
    EXPECT_TRUE(registry.Exists("HKCR\\Zelunit.ExtensionUnit"));
}

TEST_F(SelfRegistrationTest, TheResultIsTheScriptsThenTheTypeLibrarys) {
    typeLibrary.answer = kTypeLibFailure;
    EXPECT_EQ(RegisterServer(Registration()), kTypeLibFailure);
    registry.failingKeys = {"HKCR\\Zelunit.ExtensionUnit.1"};
    typeLibrary.registered = 0;
    EXPECT_EQ(RegisterServer(Registration()), platform::FromWin32(platform::kErrorAccessDenied));
    EXPECT_EQ(typeLibrary.registered, 0);
    script = "HKCR { broken";
    EXPECT_TRUE(platform::Failed(RegisterServer(Registration())));
    EXPECT_NE(debug.back().find("expected"), std::string::npos);
}

TEST_F(SelfRegistrationTest, UnregisteringKeepsTheNodeInterfaceAndTheVendorKey) {
    ASSERT_EQ(RegisterServer(Registration()), kS_OK);
    ASSERT_EQ(UnregisterServer(Registration()), kS_OK);
    EXPECT_EQ(typeLibrary.unregistered, 1);
    EXPECT_FALSE(registry.Exists("HKCR\\CLSID\\{A0432DA0-A887-45F8-B28B-6693C6B9E619}"));
    EXPECT_FALSE(registry.Exists("HKCR\\Zelunit.ExtensionUnit.1"));
    EXPECT_EQ(Read<std::uint32_t>(kVendor, "Version Number"), 4096u);
    EXPECT_EQ(ReadText(kNode, ""), "USB Extension Unit Interface Handler");
    // A type library that was not registered fails the call, after the script.
    typeLibrary.answer = kTypeLibFailure;
    EXPECT_EQ(UnregisterServer(Registration()), kTypeLibFailure);
    EXPECT_EQ(typeLibrary.unregistered, 2);
}

}  // namespace
}  // namespace kv::plugin::test
