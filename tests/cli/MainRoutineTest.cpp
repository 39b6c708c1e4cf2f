// The main routine: help exit, the no-camera exit, the log of a debug run,
// the system-information dump and the hand-over to the dispatcher.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ctrl/cli/HelpText.h"
#include "ctrl/cli/MainRoutine.h"
#include "ctrl/cli/SystemInfoDump.h"
#include "tests/fakes/FakePorts.h"

namespace kv::ctrl {
namespace {

const std::string kDocs = "C:\\Users\\Public\\Documents";
const std::string kLogPath = kDocs + "\\KV_DS_Ctrl\\Log\\KV_DS_LOG.txt";
const std::string kCamera = "\\\\?\\usb#vid_a168&pid_0990&mi_00#6&12ab34cd&0&0000#{65e8773d}\\global";

class RecordingDispatcher : public Dispatcher {
public:
    void Dispatch(const ParsedCommand& command, const CameraTable& table, CDxWnd& camera) override {
        ++calls;
        lastCommand = command;
        cameras = table.nCamCount();
        camera.Log("dispatched");
        if (throws) throw std::runtime_error("a step failed");
    }
    bool throws = false;
    int calls = 0;
    int cameras = 0;
    ParsedCommand lastCommand;
};

class MainRoutineTest : public ::testing::Test {
protected:
    MainRoutineTest() { fakes.files.AddDirectoryTree(kDocs); }
    int Run(const std::string& rawLine) {
        fakes.environment.rawCommandLine = rawLine;
        return RunKvDsCtrl(fakes.ports, context, dispatcher);
    }
    std::vector<std::string> LogMessages() {
        std::vector<std::string> messages;
        for (const std::string& line : test::SplitLines(fakes.files.Content(kLogPath))) {
            // Timestamped lines lose their stamp; the banner's lines stay whole.
            messages.push_back(line.size() >= 25 && line[24] == '\t' ? line.substr(25) : line);
        }
        return messages;
    }
    test::FakePorts fakes;
    RunContext context{fakes.ports};
    RecordingDispatcher dispatcher;
};

TEST_F(MainRoutineTest, HelpEndsTheRunBeforeAnyCameraWork) {
    fakes.captureDevices.AddDevice(kCamera);
    for (const std::string line : {"KV_DS_Ctrl.exe", "KV_DS_Ctrl.exe foo", "KV_DS_Ctrl.exe LED on -h"}) {
        fakes.console.lines.clear();
        EXPECT_EQ(Run(line), 0);
        EXPECT_EQ(fakes.console.lines.size(), kHelpLineCount) << line;
    }
    EXPECT_EQ(fakes.comApartment.initializeCalls, 0);
    EXPECT_EQ(dispatcher.calls, 0);
}

TEST_F(MainRoutineTest, DebugHelpRunKeepsRawAndNormalisedLineWithoutBanner) {
    Run("KV_DS_Ctrl.exe /d -H");
    EXPECT_EQ(LogMessages(), (std::vector<std::string>{"KV_DS_Ctrl.exe /d -H", "kv_ds_ctrl.exe  -h"}));
}

TEST_F(MainRoutineTest, NoCameraPrintsOneLineAndLeavesNoBanner) {
    fakes.captureDevices.AddDevice("\\\\?\\usb#vid_046d&pid_0825#7&1#{65e8773d}\\global");
    EXPECT_EQ(Run("KV_DS_Ctrl.exe LED on /d"), 0);
    EXPECT_EQ(fakes.console.lines, std::vector<std::string>{kNoCameraText});
    EXPECT_EQ(dispatcher.calls, 0);
    EXPECT_EQ(fakes.comApartment.uninitializeCalls, 0);
    EXPECT_EQ(LogMessages(), (std::vector<std::string>{
                                 "new CDxWnd", "CoCreateInstance", "CoCreateInstance Finished", "hr==S_OK",
                                 "\\\\?\\usb#vid_046d&pid_0825#7&1#{65e8773d}\\global", "pEm->Reset", "pEm->Release()",
                                 "\\\\?\\usb#vid_046d&pid_0825#7&1#{65e8773d}\\global", "None Korvex Plugin!!"}));
}

TEST_F(MainRoutineTest, EmptyCategoryLogsErrorTwo) {
    Run("KV_DS_Ctrl.exe -CAM1 /d");
    EXPECT_EQ(fakes.console.lines, std::vector<std::string>{kNoCameraText});
    const auto messages = LogMessages();
    EXPECT_EQ(messages[messages.size() - 2], "Error: 2");
}

TEST_F(MainRoutineTest, CamerasGoToTheDispatcherAndTheLogClosesWithBanner) {
    fakes.captureDevices.AddDevice(kCamera);
    fakes.captureDevices.AddDevice(kCamera);
    EXPECT_EQ(Run("KV_DS_Ctrl.exe EV 100 -CAM2 /d"), 0);
    EXPECT_TRUE(fakes.console.lines.empty());
    EXPECT_EQ(dispatcher.calls, 1);
    EXPECT_EQ(dispatcher.cameras, 2);
    EXPECT_EQ(dispatcher.lastCommand.strEVPara, "100");
    EXPECT_EQ(dispatcher.lastCommand.nCamNum, 2);
    EXPECT_EQ(fakes.comApartment.uninitializeCalls, 1);
    const auto messages = LogMessages();
    EXPECT_EQ(messages.front(), "new CDxWnd");
    EXPECT_EQ(std::vector<std::string>(messages.end() - 7, messages.end()),
              (std::vector<std::string>{kCamera, "dispatched", "All Control finished", "CoUninitialize()", "",
                                        "===============Logging finished================", ""}));
}

TEST_F(MainRoutineTest, SystemInfoDumpOnlyForLowerCaseSwitchAndMissingReport) {
    Run("KV_DS_Ctrl.exe /D");
    EXPECT_TRUE(fakes.processes.started.empty());
    Run("KV_DS_Ctrl.exe /d");
    EXPECT_EQ(fakes.processes.started, std::vector<std::string>{"cmd.exe /c systeminfo.exe > \"" + kDocs +
                                                                "\\KV_DS_Ctrl\\Log\\systeminfo.txt\""});
    fakes.files.files[kDocs + "\\KV_DS_Ctrl\\Log\\systeminfo.txt"];
    Run("KV_DS_Ctrl.exe /d");
    EXPECT_EQ(fakes.processes.started.size(), 1u);
}

TEST_F(MainRoutineTest, AProgramPathWithKeywordsOrTheDebugSwitchRunsOnlyItsArguments) {
    fakes.captureDevices.AddDevice(kCamera);
    Run("\"D:\\John Evans /d\\KV_DS_Ctrl.exe\" LED on -CAM1");
    EXPECT_EQ(dispatcher.lastCommand.strOn, "1");
    EXPECT_EQ(dispatcher.lastCommand.strEVPara, "");
    EXPECT_EQ(dispatcher.lastCommand.nCamNum, 1);
    EXPECT_FALSE(fakes.files.Exists(kLogPath)) << "no debug log";
    EXPECT_TRUE(fakes.processes.started.empty()) << "no system-information report";
    Run("\"D:\\John Evans\\KV_DS_Ctrl.exe\" /d -H");
    EXPECT_EQ(LogMessages(), (std::vector<std::string>{"\"D:\\John Evans\\KV_DS_Ctrl.exe\" /d -H",
                                                       "\"d:\\john evans\\kv_ds_ctrl.exe\"  -h"}))
        << "the log shows the line as given";
}

TEST(SystemInfoCommand, PosixReportQuotesThePath) {
    EXPECT_EQ(SystemInfoCommand(false, "/home/o'neil/KV_DS_Ctrl/Log/systeminfo.txt"),
              "{ uname -a; cat /etc/os-release; if command -v lsusb >/dev/null 2>&1; then lsusb; fi; } > "
              "'/home/o'\\''neil/KV_DS_Ctrl/Log/systeminfo.txt' 2>&1");
}

TEST_F(MainRoutineTest, AThrowingCommandStillEndsTheRunInOrderWithStatusZero) {
    fakes.captureDevices.AddDevice(kCamera);
    dispatcher.throws = true;
    EXPECT_EQ(Run("KV_DS_Ctrl.exe LED on /d"), 0);
    EXPECT_EQ(fakes.comApartment.uninitializeCalls, 1);
    const auto messages = LogMessages();
    EXPECT_EQ(std::vector<std::string>(messages.end() - 7, messages.end()),
              (std::vector<std::string>{"dispatched", "Error:...", "All Control finished", "CoUninitialize()", "",
                                        "===============Logging finished================", ""}));
}

}  // namespace
}  // namespace kv::ctrl
