// The profile-file adapter of the platform under test, on real files: the
// platform's own profile calls on Windows, our profile text elsewhere. Both
// must read back what was written, keep what a hand-edited file holds, and
// write a new file the same way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/Ports.h"
#include "platform/ProfileText.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class ProfileAdapterTest : public ::testing::Test {
protected:
    ProfileAdapterTest() {
        root = fs::temp_directory_path() / ("kv-profile-" + std::to_string(std::random_device{}()));
        fs::create_directories(root);
    }
    ~ProfileAdapterTest() override { fs::remove_all(root); }

    std::string Bytes(const fs::path& file) const {
        std::ifstream reader(file, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(reader)), std::istreambuf_iterator<char>());
    }
    void Put(const fs::path& file, const std::string& bytes) const { std::ofstream(file, std::ios::binary) << bytes; }

    std::unique_ptr<platform::SystemPorts> system = platform::MakeSystemPorts(0, nullptr);
    platform::ProfileFiles& profiles = system->ports().profileFiles;
    fs::path root;
};

TEST_F(ProfileAdapterTest, AMissingFileReadsAsTheDefaultAndAWriteCreatesIt) {
    const std::string file = (root / "Setting.ini").string();
    EXPECT_EQ(profiles.ReadString(file, "Kd329", "3A1E", "0", 5), "0");
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(profiles.WriteString(file, "Kd329", "3A1E", "26"));
    EXPECT_TRUE(profiles.WriteString(file, "Kd329", "3A1B", "3a"));
    EXPECT_EQ(Bytes(file), "[Kd329]\r\n3A1E=26\r\n3A1B=3a\r\n") << "as our profile text writes it";
    EXPECT_EQ(profiles.ReadString(file, "kd329", "3a1b", "0", 5), "3a");
    EXPECT_TRUE(profiles.HasKey(file, "kd329", "3a1b"));
    EXPECT_FALSE(profiles.HasKey(file, "Kd329", "3A10"));
    EXPECT_FALSE(profiles.HasKey(file, "Kb29", "3A1E"));
    EXPECT_FALSE(profiles.HasKey((root / "none.ini").string(), "Kd329", "3A1E"));
    EXPECT_FALSE(profiles.WriteString((root / "missing" / "Setting.ini").string(), "S", "k", "1"));
}

TEST_F(ProfileAdapterTest, AHandEditedFileKeepsItsOtherLinesAndReadsCutToTheBuffer) {
    const fs::path file = root / "Setting.ini";
    const std::string edited =
        "; kept by hand\r\n[Other]\r\nkey = value with blanks\r\nblank=\r\n\r\n[Tn21]\r\n0237=01a7\r\n";
    Put(file, edited);
    EXPECT_TRUE(profiles.WriteString(file.string(), "TN21", "0237", "0155"));
    EXPECT_TRUE(profiles.WriteString(file.string(), "Tn21", "022e", "0312"));
    const std::string expected = *platform::WriteProfileString(
        *platform::WriteProfileString(edited, "TN21", "0237", "0155"), "Tn21", "022e", "0312");
    if (system->ports().environment.IsWindows()) {
        // The platform's calls may write the whole file anew (Wine's drop the
        // blank lines and the blanks around "="); what it holds must stay.
        EXPECT_EQ(Bytes(file).rfind("; kept by hand\r\n[Other]\r\n", 0), 0u) << Bytes(file);
    } else {
        EXPECT_EQ(Bytes(file), expected);
    }
    EXPECT_EQ(profiles.ReadString(file.string(), "Other", "key", "0", 64), "value with blanks");
    EXPECT_EQ(profiles.ReadString(file.string(), "other", "KEY", "0", 5), "valu");
    EXPECT_EQ(profiles.ReadString(file.string(), "Tn21", "0237", "0", 5), "0155");
    EXPECT_EQ(profiles.ReadString(file.string(), "Tn21", "none", "default", 5), "defa");
    EXPECT_TRUE(profiles.HasKey(file.string(), "Other", "blank")) << "an empty value is a key all the same";
    EXPECT_EQ(profiles.ReadString(file.string(), "Other", "blank", "default", 5), "");
}

}  // namespace
}  // namespace kv
