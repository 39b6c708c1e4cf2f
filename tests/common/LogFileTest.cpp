// The debug log: line format, opening and truncation, folder creation, the
// closing banner and dropped lines.
#include <gtest/gtest.h>

#include "ctrl/camera/DxWnd.h"
#include "ctrl/common/LogFile.h"
#include "tests/fakes/FakePorts.h"

namespace kv::ctrl {
namespace {

const std::string kLogPath = "C:\\Users\\Public\\Documents\\KV_DS_Ctrl\\Log\\KV_DS_LOG.txt";

class LogFileTest : public ::testing::Test {
protected:
    LogFileTest() {
        fakes.files.AddDirectoryTree("C:\\Users\\Public\\Documents");
        fakes.environment.rawCommandLine = "KV_DS_Ctrl.exe LED on /d";
    }
    test::FakePorts fakes;
    FilterPair pair;
    KeptLibraries kept;
};

TEST(LogLineFormat, StampTabMessageLineEnd) {
    EXPECT_EQ(FormatLogLine({2024, 1, 31, 9, 5, 7, 42}, "Parameter Analysis"),
              "2024/01/31 09:05:07:042 \tParameter Analysis\n");
    // Format characters in the message are text, nothing more.
    EXPECT_EQ(FormatLogLine({2025, 12, 1, 23, 59, 59, 999}, "100% %s %d"), "2025/12/01 23:59:59:999 \t100% %s %d\n");
}

TEST(LogLineFormat, LongMessagesAreCutButKeepTheLineEnd) {
    const std::string line = FormatLogLine({2024, 1, 31, 9, 5, 7, 42}, std::string(600, 'x'));
    EXPECT_EQ(line.size(), kLogBufferChars);
    EXPECT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    // A cut never splits a character: "é" is two bytes in UTF-8.
    std::string accents;
    for (int i = 0; i < 300; ++i) accents += "\xC3\xA9";
    const std::string cut = FormatLogLine({2024, 1, 31, 9, 5, 7, 42}, accents);
    EXPECT_EQ(cut.size(), 25 + 2 * (kLogBufferChars - 1 - 25) + 1);
}

TEST_F(LogFileTest, DebugSwitchCreatesFolderAndWritesFlushedLines) {
    {
        CDxWnd camera(fakes.ports, pair, kept);
        camera.Log("new CDxWnd");
        camera.Log("CoCreateInstance");
        EXPECT_EQ(fakes.files.files.at(kLogPath).flushed, fakes.files.Content(kLogPath).size());
    }
    EXPECT_EQ(fakes.files.createdDirectories,
              (std::vector<std::string>{"C:\\Users\\Public\\Documents\\KV_DS_Ctrl",
                                        "C:\\Users\\Public\\Documents\\KV_DS_Ctrl\\Log"}));
    EXPECT_EQ(fakes.files.Content(kLogPath),
              "2024/01/31 09:05:07:042 \tnew CDxWnd\n"
              "2024/01/31 09:05:07:042 \tCoCreateInstance\n"
              "\n===============Logging finished================\n\n");
}

TEST_F(LogFileTest, NoDebugSwitchNoFileAndNoFolder) {
    fakes.environment.rawCommandLine = "KV_DS_Ctrl.exe LED on";
    {
        CDxWnd camera(fakes.ports, pair, kept);
        camera.Log("new CDxWnd");
    }
    EXPECT_TRUE(fakes.files.files.empty());
    EXPECT_TRUE(fakes.files.createdDirectories.empty());
}

TEST_F(LogFileTest, UpperCaseSwitchLogsWithoutBanner) {
    fakes.environment.rawCommandLine = "KV_DS_Ctrl.exe LED on /D";
    {
        CDxWnd camera(fakes.ports, pair, kept);
        camera.Log("new CDxWnd");
    }
    EXPECT_EQ(fakes.files.Content(kLogPath), "2024/01/31 09:05:07:042 \tnew CDxWnd\n");
}

TEST_F(LogFileTest, SecondObjectTruncatesTheFirstOnesLines) {
    CDxWnd startup(fakes.ports, pair, kept);
    startup.Log("raw line");
    startup.Log("Parameter Analysis");
    CDxWnd camera(fakes.ports, pair, kept);
    camera.Log("new CDxWnd");
    EXPECT_EQ(fakes.files.Content(kLogPath), "2024/01/31 09:05:07:042 \tnew CDxWnd\n");
    EXPECT_EQ(fakes.files.files.at(kLogPath).openCount, 2);
    startup.logFile().Abandon();
}

TEST_F(LogFileTest, SameNameAgainDoesNotReopen) {
    LogFile log(fakes.ports);
    log.Open(kLogFileName);
    log.WriteLine("one");
    log.Open(kLogFileName);
    log.WriteLine("two");
    EXPECT_EQ(fakes.files.files.at(kLogPath).openCount, 1);
    EXPECT_EQ(test::SplitLines(fakes.files.Content(kLogPath)).size(), 2u);
}

TEST_F(LogFileTest, LinesAreDroppedWhenTheFileCannotBeOpened) {
    fakes.files.failOpening = true;
    CDxWnd camera(fakes.ports, pair, kept);
    EXPECT_EQ(camera.Log("lost"), 1);
    EXPECT_TRUE(fakes.files.files.empty());
    // The folder was still created for the second attempt.
    EXPECT_TRUE(fakes.files.IsDirectory("C:\\Users\\Public\\Documents\\KV_DS_Ctrl\\Log"));
}

TEST_F(LogFileTest, AbandonedLogGetsNoBanner) {
    {
        CDxWnd camera(fakes.ports, pair, kept);
        camera.Log("None Korvex Plugin!!");
        camera.logFile().Abandon();
    }
    EXPECT_EQ(fakes.files.Content(kLogPath), "2024/01/31 09:05:07:042 \tNone Korvex Plugin!!\n");
}

TEST(MakeDirectoryPath, CreatesEachMissingFolderButNotTheFile) {
    test::FakeFiles files;
    files.AddDirectoryTree("C:\\Data");
    MakeDirectoryPath(files, "C:\\Data\\a\\b\\file.txt");
    EXPECT_EQ(files.createdDirectories, (std::vector<std::string>{"C:\\Data\\a", "C:\\Data\\a\\b"}));
    EXPECT_FALSE(files.Exists("C:\\Data\\a\\b\\file.txt"));
}

}  // namespace
}  // namespace kv::ctrl
