// The real files adapter of the platform under test: folder creation leaves
// the current directory alone, and the log stream writes the platform's text
// mode (CR LF on Windows).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "ctrl/common/LogFile.h"
#include "platform/Ports.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class FilesAdapterTest : public ::testing::Test {
protected:
    FilesAdapterTest() {
        root = fs::temp_directory_path() / ("kv-files-" + std::to_string(std::random_device{}()));
        fs::create_directories(root);
    }
    ~FilesAdapterTest() override { fs::remove_all(root); }

    std::string Native(const fs::path& path) const { return path.string(); }

    std::unique_ptr<platform::SystemPorts> system = platform::MakeSystemPorts(0, nullptr);
    platform::Files& files = system->ports().files;
    fs::path root;
};

TEST_F(FilesAdapterTest, MakeDirectoryPathKeepsTheCurrentDirectory) {
    const fs::path before = fs::current_path();
    const fs::path file = root / "KV_DS_Ctrl" / "Log" / "KV_DS_LOG.txt";
    ctrl::MakeDirectoryPath(files, Native(file));
    EXPECT_TRUE(fs::is_directory(root / "KV_DS_Ctrl" / "Log"));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_EQ(system->ports().environment.CurrentDirectory(), before.string());
}

TEST_F(FilesAdapterTest, TextStreamUsesThePlatformLineEnds) {
    const fs::path file = root / "text.txt";
    {
        auto stream = files.OpenTextForWriting(Native(file));
        ASSERT_TRUE(stream);
        stream->Write("a\nb\n");
        stream->Flush();
        // Shared for reading while it is open.
        std::ifstream reader(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(reader)), std::istreambuf_iterator<char>());
        EXPECT_EQ(bytes, system->ports().environment.IsWindows() ? "a\r\nb\r\n" : "a\nb\n");
    }
    EXPECT_TRUE(files.Exists(Native(file)));
    EXPECT_FALSE(files.IsDirectory(Native(file)));
    EXPECT_FALSE(files.OpenTextForWriting(Native(root / "missing" / "x.txt")));
}

}  // namespace
}  // namespace kv
