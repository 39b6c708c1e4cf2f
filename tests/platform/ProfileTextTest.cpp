// Our own profile text: lookups as the platform's profile calls make them,
// and writes that change nothing but the one key.
#include <gtest/gtest.h>

#include "platform/ProfileText.h"

namespace kv::platform {
namespace {

// A hand-edited file: a comment before any section, odd spacing, a quoted
// value, a duplicate key and a second section of the same name.
const std::string kEdited =
    "; settings kept by hand\r\n"
    "orphan=1\r\n"
    "[Other]\r\n"
    "  3A1E =  7 \r\n"
    "\r\n"
    "[ kb29 ]\r\n"
    ";3A1E=99\r\n"
    "3a1e = \"2f\"\r\n"
    "3A1E=ff\r\n"
    "note without equals\r\n"
    "\r\n"
    "[Kb29]\r\n"
    "3A10=33\r\n";

std::string Read(const std::string& text, const std::string& section, const std::string& key, std::size_t buffer = 64) {
    return ReadProfileString(text, section, key, "0", buffer);
}

TEST(ProfileTextTest, LookupsIgnoreCaseBlanksQuotesAndComments) {
    EXPECT_EQ(Read(kEdited, "KB29", "3A1E"), "2f") << "first key of the first section of the name";
    EXPECT_EQ(Read(kEdited, "other", "3a1e"), "7");
    EXPECT_EQ(Read(kEdited, "Kb29", "3A10"), "0") << "only the first section of a name is searched";
    EXPECT_EQ(Read(kEdited, "Kb29", "note without equals"), "0");
    EXPECT_EQ(Read(kEdited, "Kb29", ";3A1E"), "0") << "a comment is no key";
    EXPECT_EQ(Read(kEdited, "", "orphan"), "0") << "lines before any section belong to none";
    EXPECT_EQ(Read(kEdited, "Missing", "3A1E"), "0");
    EXPECT_EQ(ReadProfileString(std::nullopt, "Kb29", "3A1E", "0", 5), "0") << "no file";
}

TEST(ProfileTextTest, AReadTakesAtMostOneCharacterLessThanTheBuffer) {
    const std::string text = "[S]\nk=123456\nu=\xC3\xA9\xC3\xA9\xC3\xA9\n";
    EXPECT_EQ(Read(text, "S", "k", 5), "1234");
    EXPECT_EQ(ReadProfileString(text, "S", "none", "abcdef", 5), "abcd") << "the default is cut too";
    EXPECT_EQ(Read(text, "S", "k", 0), "");
    EXPECT_EQ(Read(text, "S", "u", 5), "\xC3\xA9\xC3\xA9") << "a character is never split";
    EXPECT_EQ(Read(text, "S", "u", 4), "\xC3\xA9");
}

TEST(ProfileTextTest, ReplacingAValueKeepsEveryOtherByte) {
    const auto written = WriteProfileString(kEdited, "KB29", "3A1E", "30");
    ASSERT_TRUE(written);
    std::string expected = kEdited;
    expected.replace(expected.find("3a1e = \"2f\""), 11, "3a1e=30");
    EXPECT_EQ(*written, expected);
    EXPECT_EQ(Read(*written, "Kb29", "3A1E"), "30");
}

TEST(ProfileTextTest, AMissingKeyGoesAfterTheSectionsLastLine) {
    const auto written = WriteProfileString(kEdited, "Other", "3A1B", "3a");
    ASSERT_TRUE(written);
    std::string expected = kEdited;
    expected.insert(expected.find("\r\n\r\n[ kb29") + 2, "3A1B=3a\r\n");
    EXPECT_EQ(*written, expected) << "before the blank line that parts the sections";

    const auto unended = WriteProfileString("[S]\na=1", "s", "b", "2");
    ASSERT_TRUE(unended);
    EXPECT_EQ(*unended, "[S]\na=1\nb=2");
    const auto carriageReturnOnly = WriteProfileString("[S]\r\na=1\r", "S", "b", "2");
    ASSERT_TRUE(carriageReturnOnly);
    EXPECT_EQ(*carriageReturnOnly, "[S]\r\na=1\r\nb=2") << "the return only needs its line feed";
    EXPECT_EQ(Read(*carriageReturnOnly, "S", "b"), "2");
    EXPECT_EQ(Read(*carriageReturnOnly, "S", "a"), "1");
}

TEST(ProfileTextTest, ANewSectionAfterALastLineEndingInAReturnLeavesThatLinesValueAlone) {
    // Found by the fuzz target: the value of the last line must read the same
    // after a section is appended.
    const std::string text =
        "[Other]\r\n3A1E = 7 \r\xef\xef"
        "A1E\r";
    const auto written = WriteProfileString(text, "Tn21", "0237", "0155");
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, text + "\n[Tn21]\r\n0237=0155\r\n");
    EXPECT_EQ(Read(*written, "Other", "3A1E"), Read(text, "Other", "3A1E"));
}

TEST(ProfileTextTest, AMissingSectionOrFileIsCreatedWithTheFilesLineEnds) {
    EXPECT_EQ(WriteProfileString("", "Kd329", "3A1E", "26"), "[Kd329]\r\n3A1E=26\r\n");
    EXPECT_EQ(WriteProfileString("[A]\nx=1", "B", "y", "2"), "[A]\nx=1\n[B]\ny=2\n");
    const auto appended = WriteProfileString(kEdited, "Tn21", "0237", "01a7");
    ASSERT_TRUE(appended);
    EXPECT_EQ(*appended, kEdited + "[Tn21]\r\n0237=01a7\r\n");
}

TEST(ProfileTextTest, NamesAndValuesThatCouldNotBeReadBackAreRefused) {
    EXPECT_FALSE(WriteProfileString("", "S", "k", "1\r\n[T]"));
    EXPECT_FALSE(WriteProfileString("", "S]", "k", "1"));
    EXPECT_FALSE(WriteProfileString("", " ", "k", "1"));
    EXPECT_FALSE(WriteProfileString("", "S", "a=b", "1"));
    EXPECT_FALSE(WriteProfileString("", "S", ";k", "1"));
    EXPECT_FALSE(WriteProfileString("", "S", "", "1"));
}

}  // namespace
}  // namespace kv::platform
