// Command-line grammar: normalisation, keyword search and the help decision,
// table-driven from whole command lines.
#include <gtest/gtest.h>

#include "ctrl/cli/CommandLine.h"
#include "ctrl/common/ProgramPath.h"

namespace kv::ctrl {
namespace {

const std::string kProgram = "\"C:\\Korvex\\KV_DS_Ctrl.exe\"";

ParsedCommand Parse(const std::string& arguments) {
    return ParseCommandLine(NormaliseCommandLine(kProgram + " " + arguments));
}

struct Expectation {
    std::string arguments;
    std::string strOn, strOff, strAE, strEVPara;
    int nCamNum = 0;
    bool cameraGiven = false;
};

class LedAndExposureWords : public ::testing::TestWithParam<Expectation> {};

TEST_P(LedAndExposureWords, FillTheRecord) {
    const Expectation& e = GetParam();
    const ParsedCommand cmd = Parse(e.arguments);
    EXPECT_EQ(cmd.strOn, e.strOn);
    EXPECT_EQ(cmd.strOff, e.strOff);
    EXPECT_EQ(cmd.strAE, e.strAE);
    EXPECT_EQ(cmd.strEVPara, e.strEVPara);
    EXPECT_EQ(cmd.nCamNum, e.nCamNum);
    EXPECT_EQ(cmd.cameraGiven, e.cameraGiven);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LedAndExposureWords,
    ::testing::Values(
        Expectation{"LED ON", "1", "", "", "", 0, false}, Expectation{"led on 1", "1", "", "", "", 0, false},
        Expectation{"LED on 2", "2", "", "", "", 0, false}, Expectation{"LED on 2 -CAM1", "2", "", "", "", 1, true},
        Expectation{"LED on -CAM1", "1", "", "", "", 1, true}, Expectation{"LED on 3", "3", "", "", "", 0, false},
        Expectation{"LED off -CAM2", "", "off", "", "", 2, true},
        // " ae" keeps the LED word away from "on"
        Expectation{"AE on -CAM1", "", "", "on", "", 1, true},
        // both fields take "off"; the dispatcher tells them apart
        Expectation{"AE off", "", "off", "off", "", 0, false},
        // anti-flicker owns its "on" and "off"
        Expectation{"AntiFlicker Off", "", "", "", "", 0, false},
        Expectation{"AntiFlicker On 60", "", "", "", "", 0, false}, Expectation{"on", "1", "", "", "", 0, false},
        Expectation{"off", "", "off", "", "", 0, false}, Expectation{"EV 100 -CAM2", "", "", "", "100", 2, true},
        Expectation{"EV  42 ", "", "", "", "42", 0, false},
        // a blank after -CAM means all cameras; only one digit counts
        Expectation{"LED on -CAM 1", "1", "", "", "", 0, true}, Expectation{"LED on -CAM12", "1", "", "", "", 1, true},
        Expectation{"-cam9", "", "", "", "", 9, true}, Expectation{"-CAMx", "", "", "", "", 0, true},
        Expectation{"-CAM", "", "", "", "", 0, true}));

// A program path that holds keywords parses like a plain path of the same
// length: only the arguments count, at the same indexes.
TEST(CommandLine, TheProgramPathIsNeverACommand) {
    struct Shape {
        std::string program, module, arguments;
        bool help = false;
    };
    const std::string evans = "D:\\John Evans\\Tools\\KV_DS_Ctrl.exe", desk = "C:\\Camera On Desk\\KV_DS_Ctrl.exe";
    const Shape shapes[] = {
        {'"' + evans + '"', evans, "LED on -CAM1"},
        {'"' + desk + '"', desk, "EV 100"},
        {'"' + desk + '"', desk, "", true},
        {"\"C:\\Lab AE Ltd\\KV_DS_Ctrl.exe\"", "", "LED on"},
        {"\"C:\\Init Tools\\KV_DS_Ctrl.exe\"", "", "AntiFlicker On 50"},
        {"\"C:\\Rig -CAM1\\KV_DS_Ctrl.exe\"", "", "LED off"},
        {"\"C:\\Tools /d /h\\KV_DS_Ctrl.exe\"", "", "AE on"},
        {"\"C:\\On Off\\KV_DS_Ctrl.exe\"", "", "", true},
        {"\"C:\\EV 5\\KV_DS_Ctrl.exe", "", "LED on", true},  // no closing quote: all of it is the path
        {desk, desk, "EV 100 -CAM1"},                        // unquoted, as some callers start it
        {"c:\\camera on desk\\kv_ds_ctrl.exe", desk, "AE off"},
        {"C:\\Korvex\\KV_DS_Ctrl.exe", "C:\\Korvex\\KV_DS_Ctrl.exe.bak", "INIT"},
        {"KV_DS_Ctrl", "/opt/korvex on/KV_DS_Ctrl", "FLCSwitch 1010"},
    };
    for (const Shape& shape : shapes) {
        std::string plain = shape.program;
        for (char& c : plain) c = c == '"' ? c : 'x';
        const auto parse = [&shape](const std::string& program, bool& help) {
            const std::string raw = shape.arguments.empty() ? program : program + " " + shape.arguments;
            const std::string line = NormaliseCommandLine(MaskProgramPath(raw, shape.module));
            EXPECT_EQ(MaskProgramPath(raw, shape.module).size(), raw.size());
            const ParsedCommand command = ParseCommandLine(line);
            help = IsHelpRequested(command, line);
            return command;
        };
        bool help = false, plainHelp = false;
        EXPECT_EQ(parse(shape.program, help), parse(plain, plainHelp)) << shape.program;
        EXPECT_EQ(help, plainHelp) << shape.program;
        EXPECT_EQ(help, shape.help) << shape.program;
    }
    EXPECT_EQ(MaskProgramPath("\"C:\\a b\\x.exe\"on", ""), std::string(14, '_') + "on") << "no blank is added";
    EXPECT_EQ(MaskProgramPath("x.exe\tLED on", ""), "_____\tLED on");
    EXPECT_EQ(MaskProgramPath(" LED on", "C:\\x.exe"), " LED on") << "an empty program path masks nothing";
}

TEST(CommandLine, NormalisationDropsOnlyLowerCaseDebugSwitch) {
    EXPECT_EQ(NormaliseCommandLine("X.exe LED on /d"), "x.exe led on ");
    EXPECT_EQ(NormaliseCommandLine("X.exe LED on /D"), "x.exe led on /d");
    EXPECT_EQ(NormaliseCommandLine("X.exe /d/d AE"), "x.exe  ae");
}

TEST(CommandLine, FlcSwitchPatterns) {
    EXPECT_EQ(Parse("FLCSwitch 1010").nFlcSwitch, 10);
    EXPECT_EQ(Parse("FLCSwitch 0000").nFlcSwitch, 16);
    EXPECT_EQ(Parse("FLCSwitch 0001").nFlcSwitch, 1);
    EXPECT_EQ(Parse("FLCSwitch 1111").nFlcSwitch, 15);
    EXPECT_EQ(Parse("FLCSwitch 2000").nFlcSwitch, 16);  // digits count with their value
    EXPECT_EQ(Parse("FLCSwitch 1x1").nFlcSwitch, 10);   // a non-digit counts 0
    EXPECT_EQ(Parse("FLCSwitch").nFlcSwitch, 16);       // nothing after it at all
    EXPECT_EQ(Parse("LED on").nFlcSwitch, -1);
}

TEST(CommandLine, FlcLevelTakesTwoCharacters) {
    EXPECT_EQ(Parse("FLCLevel 13").nFlcLevel, 13);
    EXPECT_EQ(Parse("FLCLevel 3 -CAM1").nFlcLevel, 3);
    EXPECT_EQ(Parse("FLCLevel 123").nFlcLevel, 12);
    EXPECT_EQ(Parse("FLCLevel x").nFlcLevel, 0);
    EXPECT_EQ(Parse("LED on").nFlcLevel, -1);
}

TEST(CommandLine, PositionsOfAntiFlickerAndInit) {
    const std::string line = NormaliseCommandLine(kProgram + " AntiFlicker On 50 INIT");
    const ParsedCommand cmd = ParseCommandLine(line);
    EXPECT_EQ(cmd.antiFlickerPos, static_cast<int>(line.find(" antiflicker")));
    EXPECT_EQ(cmd.antiFlicker50Pos, cmd.antiFlickerPos);
    EXPECT_EQ(cmd.antiFlicker60Pos, -1);
    EXPECT_EQ(cmd.antiFlickerOffPos, -1);
    EXPECT_EQ(cmd.initPos, static_cast<int>(line.find(" init")));
}

TEST(CommandLine, SaveAndLoadExposure) {
    EXPECT_EQ(Parse("SaveExposure").strSave, "Save");
    EXPECT_EQ(Parse("loadexposure -CAM1").strLoad, "Load");
}

TEST(CommandLine, HelpDecision) {
    const auto help = [](const std::string& arguments) {
        const std::string line = NormaliseCommandLine(kProgram + (arguments.empty() ? "" : " " + arguments));
        return IsHelpRequested(ParseCommandLine(line), line);
    };
    EXPECT_TRUE(help(""));
    EXPECT_TRUE(help("foo"));
    EXPECT_TRUE(help("-h"));
    EXPECT_TRUE(help("/H"));
    EXPECT_TRUE(help("LED on -h"));  // the help wins over any command
    EXPECT_FALSE(help("-CAM1"));     // a camera index alone runs the loop
    EXPECT_FALSE(help("LED on"));
    EXPECT_FALSE(help("INIT"));
    EXPECT_FALSE(help("FLCLevel"));
    EXPECT_FALSE(help("AntiFlicker"));
    EXPECT_FALSE(help("/D LED off"));
}

}  // namespace
}  // namespace kv::ctrl
