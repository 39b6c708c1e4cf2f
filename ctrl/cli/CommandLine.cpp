// Keyword search over the normalised command line. Every search is a plain
// first-occurrence search; "found" means found at an index above 0, because
// index 0 lies inside the program path.
#include "ctrl/cli/CommandLine.h"

#include "ctrl/common/Text.h"

namespace kv::ctrl {

namespace {

int PositionOf(const std::string& line, const std::string& keyword) { return Find(line, keyword); }

void ParseLedWords(const std::string& line, ParsedCommand& cmd) {
    if (FoundAfterStart(line, " antiflicker")) return;  // "on"/"off" belong to anti-flicker then

    // pos is the index of the blank in front of "on".
    int pos = -1;
    if (const int l = Find(line, "led on"); l > 0) {
        pos = l + 3;
    } else if (const int p = Find(line, " on"); p > 0) {
        pos = p;
    }
    if (pos >= 0) {
        const int dash = Find(line, "-", pos + 4);
        cmd.strOn = Trim(dash > 0 ? Mid(line, pos + 3, dash - pos - 4) : Mid(line, pos + 4));
        if (!FoundAfterStart(line, " ae") && cmd.strOn.empty()) cmd.strOn = "1";
    }
    if (const int o = Find(line, " off"); o > 0) cmd.strOff = Trim(Mid(line, o + 1, 3));
}

void ParseCameraIndex(const std::string& line, ParsedCommand& cmd) {
    if (line.size() < 5) return;
    const int m = Find(line, " -cam", 5);
    if (m <= 0) return;
    cmd.cameraGiven = true;
    const std::string digit = Mid(line, m + 5, 1);
    cmd.nCamNum = (!digit.empty() && digit[0] >= '0' && digit[0] <= '9') ? digit[0] - '0' : 0;
}

void ParseFlc(const std::string& line, ParsedCommand& cmd) {
    if (const int w = Find(line, " flcswitch"); w > 0) {
        // The blank and the four pattern characters; each converted by itself.
        const std::string pattern = Mid(line, w + 10, 5);
        int value = 0;
        for (int i = 1; i <= 4; ++i) value = value * 2 + DecimalPrefix(Mid(pattern, i, 1));
        cmd.nFlcSwitch = value == 0 ? 16 : value;
    }
    if (const int v = Find(line, " flclevel"); v > 0) cmd.nFlcLevel = DecimalPrefix(Mid(line, v + 10, 2));
}

void ParseExposure(const std::string& line, ParsedCommand& cmd) {
    if (const int a = Find(line, " ae"); a > 0) {
        if (FoundAfterStart(line, " on", a + 3)) cmd.strAE = "on";
        if (FoundAfterStart(line, " off", a + 3)) cmd.strAE = "off";
    }
    if (const int e = Find(line, " ev"); e > 0) {
        const int d = Find(line, " -cam", e + 3);
        cmd.strEVPara = Trim(d > 0 ? Mid(line, e + 3, d - e - 3) : Mid(line, e + 3));
    }
    if (FoundAfterStart(line, " saveexposure")) cmd.strSave = "Save";
    if (FoundAfterStart(line, " loadexposure")) cmd.strLoad = "Load";
}

}  // namespace

std::string NormaliseCommandLine(const std::string& rawLine) {
    std::string line;
    line.reserve(rawLine.size());
    for (std::size_t i = 0; i < rawLine.size(); ++i) {
        if (rawLine.compare(i, 2, "/d") == 0) {
            ++i;
            continue;
        }
        line += rawLine[i];
    }
    return ToLower(line);
}

ParsedCommand ParseCommandLine(const std::string& line) {
    ParsedCommand cmd;
    ParseLedWords(line, cmd);
    ParseCameraIndex(line, cmd);
    cmd.initPos = PositionOf(line, " init");
    cmd.antiFlickerPos = PositionOf(line, " antiflicker");
    cmd.antiFlicker60Pos = PositionOf(line, " antiflicker on 60");
    cmd.antiFlicker50Pos = PositionOf(line, " antiflicker on 50");
    cmd.antiFlickerOffPos = PositionOf(line, " antiflicker off");
    ParseFlc(line, cmd);
    ParseExposure(line, cmd);
    return cmd;
}

bool IsHelpRequested(const ParsedCommand& cmd, const std::string& line) {
    if (FoundAfterStart(line, " -h") || FoundAfterStart(line, " /h")) return true;
    const bool nothingRecognised = !cmd.cameraGiven && cmd.strOn.empty() && cmd.strOff.empty() && cmd.strAE.empty() &&
                                   cmd.strEVPara.empty() && cmd.strSave.empty() && cmd.strLoad.empty() &&
                                   cmd.nFlcSwitch == -1 && cmd.nFlcLevel == -1 && cmd.antiFlickerPos == -1 &&
                                   cmd.initPos == -1;
    return nothingRecognised;
}

}  // namespace kv::ctrl
