// The locale-free text helpers every layer shares: formatting without a
// length limit, ASCII lower case, hexadecimal digits, UTF-8 to wide text and
// back (invalid input replaced, never dropped), and the program's folder.
#include <gtest/gtest.h>

#include "platform/ProgramFolder.h"
#include "platform/TextBasics.h"
#include "platform/Utf8.h"

namespace kv::platform {
namespace {

TEST(TextBasicsTest, FormatsAndLowersWithoutLimitOrLocale) {
    EXPECT_EQ(FormatText("vid_%04x&pid_%04X", 0xA168u, 0x9b0u), "vid_a168&pid_09B0");
    EXPECT_EQ(FormatText("%s", std::string(1000, 'x').c_str()).size(), 1000u) << "no fixed buffer cuts it";
    EXPECT_EQ(FormatText("%s", ""), "");
    EXPECT_EQ(ToLower("\\\\?\\USB#VID_A168&PID_0840#{65E8}\xC3\x84"), "\\\\?\\usb#vid_a168&pid_0840#{65e8}\xC3\x84");
    EXPECT_EQ(HexDigitValue('7'), 7);
    EXPECT_EQ(HexDigitValue('b'), 11);
    EXPECT_EQ(HexDigitValue('F'), 15);
    EXPECT_EQ(HexDigitValue('g'), -1);
    EXPECT_EQ(HexDigitValue(' '), -1);
}

TEST(TextBasicsTest, Utf8AndWideTextRoundTrip) {
    const std::string utf8 =
        "C:\\Programme\\Kamera \xC3\x9C"
        "bersicht \xE6\xB5\x8B \xF0\x9F\x93\xB7";
    const std::wstring wide = Utf8ToWide(utf8);
    EXPECT_EQ(wide.substr(0, 21), L"C:\\Programme\\Kamera \u00dc");
    EXPECT_EQ(wide.size(), sizeof(wchar_t) == 2 ? 34u : 33u) << "a character beyond 16 bits is a pair in UTF-16";
    EXPECT_EQ(WideToUtf8(wide), utf8);
    EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(TextBasicsTest, InvalidInputBecomesTheReplacementCharacter) {
    EXPECT_EQ(Utf8ToWide("a\xFF"
                         "b"),
              L"a\uFFFDb");
    EXPECT_EQ(Utf8ToWide("\xC3"), L"\uFFFD") << "cut short";
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), L"\uFFFD\uFFFD") << "overlong";
    EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD") << "a surrogate";
    EXPECT_EQ(WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"x"), "\xEF\xBF\xBDx");
}

TEST(TextBasicsTest, TheFolderOfAPathKeepsItsSeparator) {
    EXPECT_EQ(FolderOf("C:\\Program Files\\Korvex\\KV_DS_Ctrl.exe"), "C:\\Program Files\\Korvex\\");
    EXPECT_EQ(FolderOf("/opt/korvex/KV_DS_Ctrl"), "/opt/korvex/");
    EXPECT_EQ(FolderOf("KV_DS_Ctrl.exe"), "");
}

}  // namespace
}  // namespace kv::platform
