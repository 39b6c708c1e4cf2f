// Registry scripts: what the parser reads (the module's own script
// included), what it refuses, and what registering and unregistering write
// and remove.
#include <gtest/gtest.h>

#include "plugin/RegistryScript.h"
#include "tests/fakes/FakeRegistry.h"
#include "zelunit_rgs.h"

namespace kv::plugin::test {
namespace {

using kv::test::FakeRegistry;
using platform::FromWin32;
using platform::kS_OK;
using platform::RegistryRoot;

constexpr const char* kModule = "C:\\Program Files\\Korvex\\zelunit.dll";
constexpr const char* kClassKey = "HKCR\\CLSID\\{A0432DA0-A887-45F8-B28B-6693C6B9E619}";

RegistryScript Parse(std::string_view text, const std::map<std::string, std::string>& variables = {}) {
    std::string error;
    auto script = ParseRegistryScript(text, variables, error);
    EXPECT_TRUE(script) << error;
    return script.value_or(RegistryScript{});
}

std::string Error(std::string_view text) {
    std::string error;
    EXPECT_FALSE(ParseRegistryScript(text, {{"MODULE", kModule}}, error)) << text;
    return error;
}

std::string Text(const FakeRegistry& registry, const std::string& where, const std::string& name = "") {
    const kv::test::RegistryValue* value = registry.Get(where, name);
    return value != nullptr && std::holds_alternative<std::wstring>(*value) ? registry.Text(where, name) : "<none>";
}

TEST(RegistryScriptTest, ReadsTheModulesScript) {
    const RegistryScript script = Parse(kZelunitRgs, {{"MODULE", kModule}});
    ASSERT_EQ(script.size(), 1u);
    EXPECT_EQ(script[0].root, RegistryRoot::ClassesRoot);
    ASSERT_EQ(script[0].keys.size(), 3u);
    EXPECT_EQ(script[0].keys[0].name, "Zelunit.ExtensionUnit.1");
    EXPECT_EQ(script[0].keys[0].defaultValue, "ExtensionUnit Class");
    const ScriptKey& classes = script[0].keys[2];
    EXPECT_TRUE(classes.noRemove);
    ASSERT_EQ(classes.subkeys.size(), 1u);
    const ScriptKey& object = classes.subkeys[0];
    EXPECT_TRUE(object.forceRemove);
    EXPECT_EQ(object.name, "{A0432DA0-A887-45F8-B28B-6693C6B9E619}");
    ASSERT_EQ(object.subkeys.size(), 4u);
    EXPECT_EQ(object.subkeys[2].name, "InprocServer32");
    EXPECT_EQ(object.subkeys[2].defaultValue, kModule);
    ASSERT_EQ(object.subkeys[2].values.size(), 1u);
    EXPECT_EQ(object.subkeys[2].values[0].name, "ThreadingModel");
    EXPECT_EQ(object.subkeys[2].values[0].text, "Apartment");
    EXPECT_EQ(object.subkeys[3].name, "TypeLib");
}

TEST(RegistryScriptTest, QuotesVariablesAndKeywordsAsNames) {
    const RegistryScript script =
        Parse("HKEY_CURRENT_USER { 'NoRemove' = s 'it''s %%50 at %DIR%' { val 'two words' = s '' } forceremove K }",
              {{"DIR", "C:\\a b"}});
    ASSERT_EQ(script.size(), 1u);
    EXPECT_EQ(script[0].root, RegistryRoot::CurrentUser);
    ASSERT_EQ(script[0].keys.size(), 2u);
    EXPECT_EQ(script[0].keys[0].name, "NoRemove");
    EXPECT_FALSE(script[0].keys[0].noRemove);
    EXPECT_EQ(script[0].keys[0].defaultValue, "it's %50 at C:\\a b");
    EXPECT_EQ(script[0].keys[0].values[0].name, "two words");
    EXPECT_EQ(script[0].keys[0].values[0].text, "");
    EXPECT_TRUE(script[0].keys[1].forceRemove);
    // A module path with a quote in it stays one value.
    const RegistryScript quoted = Parse("HKCR { K = s '%MODULE%' }", {{"MODULE", "C:\\it's\\z.dll"}});
    EXPECT_EQ(quoted[0].keys[0].defaultValue, "C:\\it's\\z.dll");
}

TEST(RegistryScriptTest, RefusesWhatItDoesNotUnderstand) {
    EXPECT_NE(Error("HKXX { K }").find("unknown root key"), std::string::npos);
    EXPECT_NE(Error("HKCR { K = d '5' }").find("only string values"), std::string::npos);
    EXPECT_NE(Error("HKCR { K = s '%OTHER%' }").find("unknown variable %OTHER%"), std::string::npos);
    EXPECT_NE(Error("HKCR { K = s 'open }").find("does not end"), std::string::npos);
    EXPECT_NE(Error("HKCR\n{\n K\n {\n").find("line 4: expected '}'"), std::string::npos);
    EXPECT_NE(Error("HKCR { val V = s 'x' }").find("'val' outside a key"), std::string::npos);
    EXPECT_NE(Error("HKCR { K = s unquoted }").find("expected a quoted value"), std::string::npos);
    EXPECT_NE(Error("HKCR { a\\b }").find("backslash"), std::string::npos);
    EXPECT_NE(Error("HKCR K").find("expected '{'"), std::string::npos);
    EXPECT_NE(Error("HKCR { K = s '50%' }").find("closing '%'"), std::string::npos);
}

TEST(RegistryScriptTest, RegisteringWritesEveryKeyAndValue) {
    FakeRegistry registry;
    ASSERT_EQ(RegisterScript(Parse(kZelunitRgs, {{"MODULE", kModule}}), registry), kS_OK);
    EXPECT_EQ(Text(registry, "HKCR\\Zelunit.ExtensionUnit.1"), "ExtensionUnit Class");
    EXPECT_EQ(Text(registry, "HKCR\\Zelunit.ExtensionUnit.1\\CLSID"), "{A0432DA0-A887-45F8-B28B-6693C6B9E619}");
    EXPECT_EQ(Text(registry, "HKCR\\Zelunit.ExtensionUnit\\CurVer"), "Zelunit.ExtensionUnit.1");
    EXPECT_EQ(Text(registry, kClassKey), "ExtensionUnit Class");
    EXPECT_EQ(Text(registry, std::string(kClassKey) + "\\ProgID"), "Zelunit.ExtensionUnit.1");
    EXPECT_EQ(Text(registry, std::string(kClassKey) + "\\VersionIndependentProgID"), "Zelunit.ExtensionUnit");
    EXPECT_EQ(Text(registry, std::string(kClassKey) + "\\InprocServer32"), kModule);
    EXPECT_EQ(Text(registry, std::string(kClassKey) + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(Text(registry, std::string(kClassKey) + "\\TypeLib"), "{77D86AEC-1F9E-4044-95C5-0F05B382C0F5}");
}

TEST(RegistryScriptTest, ForceRemoveClearsTheKeyFirst) {
    FakeRegistry registry;
    registry.PutText(std::string(kClassKey) + "\\Stale", "", "old");
    registry.PutText("HKCR\\CLSID\\{OTHER}", "", "kept");
    ASSERT_EQ(RegisterScript(Parse(kZelunitRgs, {{"MODULE", kModule}}), registry), kS_OK);
    EXPECT_FALSE(registry.Exists(std::string(kClassKey) + "\\Stale"));
    EXPECT_TRUE(registry.Exists("HKCR\\CLSID\\{OTHER}"));
    EXPECT_EQ(Text(registry, std::string(kClassKey) + "\\ProgID"), "Zelunit.ExtensionUnit.1");
}

TEST(RegistryScriptTest, RegisteringStopsAtTheFirstFailure) {
    FakeRegistry registry;
    registry.failingKeys.insert("HKCR\\Zelunit.ExtensionUnit");
    EXPECT_EQ(RegisterScript(Parse(kZelunitRgs, {{"MODULE", kModule}}), registry), FromWin32(5));
    EXPECT_TRUE(registry.Exists("HKCR\\Zelunit.ExtensionUnit.1"));
    EXPECT_FALSE(registry.Exists(kClassKey));
    registry.failingKeys.clear();
    registry.failingValues.insert("ThreadingModel");
    EXPECT_EQ(RegisterScript(Parse(kZelunitRgs, {{"MODULE", kModule}}), registry), FromWin32(5));
}

TEST(RegistryScriptTest, UnregisteringRemovesOursAndKeepsNoRemoveKeys) {
    FakeRegistry registry;
    registry.PutText("HKCR\\CLSID\\{OTHER}", "", "kept");
    const RegistryScript script = Parse(kZelunitRgs, {{"MODULE", kModule}});
    ASSERT_EQ(RegisterScript(script, registry), kS_OK);
    ASSERT_EQ(UnregisterScript(script, registry), kS_OK);
    EXPECT_FALSE(registry.Exists("HKCR\\Zelunit.ExtensionUnit.1"));
    EXPECT_FALSE(registry.Exists("HKCR\\Zelunit.ExtensionUnit"));
    EXPECT_FALSE(registry.Exists(kClassKey));
    EXPECT_TRUE(registry.Exists("HKCR\\CLSID"));
    EXPECT_TRUE(registry.Exists("HKCR\\CLSID\\{OTHER}"));
    // Again, with everything gone: nothing to do is no failure, and a
    // NoRemove key that is not there is not made.
    EXPECT_EQ(UnregisterScript(script, registry), kS_OK);
    FakeRegistry empty;
    EXPECT_EQ(UnregisterScript(script, empty), kS_OK);
    EXPECT_FALSE(empty.Exists("HKCR\\CLSID"));
}

TEST(RegistryScriptTest, UnregisteringRemovesValsInsideNoRemoveKeys) {
    FakeRegistry registry;
    const RegistryScript script = Parse("HKCU { NoRemove Software { val Mine = s 'x' val Gone = s 'y' } }");
    ASSERT_EQ(RegisterScript(script, registry), kS_OK);
    registry.PutText("HKCU\\Software", "Theirs", "z");
    registry.PutText("HKCU\\Software", "Gone", "y");
    ASSERT_EQ(UnregisterScript(script, registry), kS_OK);
    EXPECT_EQ(registry.Get("HKCU\\Software", "Mine"), nullptr);
    EXPECT_EQ(registry.Get("HKCU\\Software", "Gone"), nullptr);
    EXPECT_NE(registry.Get("HKCU\\Software", "Theirs"), nullptr);
}

}  // namespace
}  // namespace kv::plugin::test
