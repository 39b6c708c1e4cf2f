// The registry adapter of the platform under test. On Windows, in a scratch
// key of the user's hive: what is written reads back with its type, a value
// of another type or a missing one is told apart, and a tree goes whole.
// Elsewhere there is no registry: nothing opens and nothing is created.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/Ports.h"

namespace kv {
namespace {

using platform::RegistryAccess;
using platform::RegistryRoot;

class RegistryAdapterTest : public ::testing::Test {
protected:
    ~RegistryAdapterTest() override { registry.DeleteTree(RegistryRoot::CurrentUser, path); }

    std::unique_ptr<platform::RegistryKey> Create(const std::wstring& where, bool* created = nullptr) {
        std::unique_ptr<platform::RegistryKey> key;
        EXPECT_EQ(registry.CreateKey(RegistryRoot::CurrentUser, where, RegistryAccess::ReadWrite, key, created),
                  platform::kErrorSuccess);
        return key;
    }
    bool Exists(const std::wstring& where) {
        std::unique_ptr<platform::RegistryKey> key;
        return registry.OpenKey(RegistryRoot::CurrentUser, where, RegistryAccess::Read, key) == platform::kErrorSuccess;
    }

    std::unique_ptr<platform::SystemPorts> system = platform::MakeSystemPorts(0, nullptr);
    platform::Registry& registry = system->ports().registry;
    bool windows = system->ports().environment.IsWindows();
    const std::wstring path = L"Software\\Korvex\\AdapterTest-" + std::to_wstring(std::random_device{}());
};

TEST_F(RegistryAdapterTest, ValuesReadBackWithTheirTypes) {
    if (!windows) GTEST_SKIP() << "no registry here";
    bool created = false;
    auto key = Create(path, &created);
    ASSERT_TRUE(key);
    EXPECT_TRUE(created);
    const std::wstring folder = L"C:\\Programme\\Kamera \u00dcbersicht \u6d4b\u8bd5";
    const std::vector<std::uint8_t> bytes{0xA0, 0x00, 0x43, 0xFF};
    ASSERT_EQ(key->SetString(L"", folder), platform::kErrorSuccess);
    ASSERT_EQ(key->SetDword(L"Version Number", 0x1001), platform::kErrorSuccess);
    ASSERT_EQ(key->SetBinary(L"CLSID", bytes), platform::kErrorSuccess);
    key.reset();

    std::unique_ptr<platform::RegistryKey> read;
    ASSERT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, path, RegistryAccess::Read, read), platform::kErrorSuccess);
    std::wstring text;
    std::uint32_t number = 0;
    std::vector<std::uint8_t> binary;
    EXPECT_EQ(read->ReadString(L"", text), platform::kErrorSuccess);
    EXPECT_EQ(text, folder);
    EXPECT_EQ(read->ReadDword(L"version number", number), platform::kErrorSuccess) << "names ignore case";
    EXPECT_EQ(number, 0x1001u);
    EXPECT_EQ(read->ReadBinary(L"CLSID", binary), platform::kErrorSuccess);
    EXPECT_EQ(binary, bytes);

    EXPECT_EQ(read->ReadString(L"CLSID", text), platform::kErrorUnsupportedType);
    EXPECT_EQ(read->ReadDword(L"", number), platform::kErrorUnsupportedType);
    EXPECT_EQ(read->ReadBinary(L"Version Number", binary), platform::kErrorUnsupportedType);
    EXPECT_EQ(read->ReadString(L"FileName Path", text), platform::kErrorFileNotFound);

    bool again = true;
    EXPECT_TRUE(Create(path, &again));
    EXPECT_FALSE(again) << "an existing key is opened, not created";
}

TEST_F(RegistryAdapterTest, SubkeysAreListedAndATreeGoesWhole) {
    if (!windows) GTEST_SKIP() << "no registry here";
    ASSERT_TRUE(Create(path + L"\\Instance\\Deeper"));
    ASSERT_TRUE(Create(path + L"\\Other"));
    std::unique_ptr<platform::RegistryKey> key;
    ASSERT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, path, RegistryAccess::Read, key), platform::kErrorSuccess);
    auto names = key->SubkeyNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Instance", L"Other"}));
    key.reset();

    EXPECT_EQ(registry.DeleteTree(RegistryRoot::CurrentUser, path + L"\\Instance"), platform::kErrorSuccess);
    EXPECT_FALSE(Exists(path + L"\\Instance")) << "the key itself goes, not only what is below it";
    EXPECT_TRUE(Exists(path + L"\\Other"));
    EXPECT_EQ(registry.DeleteTree(RegistryRoot::CurrentUser, path + L"\\Instance"), platform::kErrorFileNotFound);
}

TEST_F(RegistryAdapterTest, WithoutARegistryNothingOpensAndNothingIsCreated) {
    if (windows) GTEST_SKIP() << "the platform has a registry";
    std::unique_ptr<platform::RegistryKey> key;
    EXPECT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, path, RegistryAccess::Read, key),
              platform::kErrorFileNotFound);
    EXPECT_NE(registry.CreateKey(RegistryRoot::CurrentUser, path, RegistryAccess::ReadWrite, key, nullptr),
              platform::kErrorSuccess);
    EXPECT_FALSE(key);
}

}  // namespace
}  // namespace kv
