// The console program's command-line grammar: normalisation, keyword search
// into the parsed-command record, and the help decision.
#pragma once

#include <string>

namespace kv::ctrl {

struct ParsedCommand {
    std::string strOn;      // LED set to switch on: "1" or "2"
    std::string strOff;     // "off" when the LEDs are to be switched off
    std::string strAE;      // "on" or "off" for auto exposure
    std::string strEVPara;  // exposure-value text
    std::string strSave;    // "Save" for saveexposure
    std::string strLoad;    // "Load" for loadexposure
    int nCamNum = 0;        // 0 = all cameras, else camera n of the table
    bool cameraGiven = false;
    int antiFlickerPos = -1;
    int antiFlicker60Pos = -1;
    int antiFlicker50Pos = -1;
    int antiFlickerOffPos = -1;
    int initPos = -1;
    int nFlcSwitch = -1;  // 1..16 for a well-formed pattern; 16 stands for "0000"
    int nFlcLevel = -1;

    bool operator==(const ParsedCommand&) const = default;
};

// Removes every lower-case "/d" and lower-cases the rest. The searches below
// run over the whole line, so the program path at its head is masked first
// (ctrl/common/ProgramPath.h).
std::string NormaliseCommandLine(const std::string& rawLine);

ParsedCommand ParseCommandLine(const std::string& normalisedLine);

// " -h" or " /h", or nothing at all recognised and no camera index given.
bool IsHelpRequested(const ParsedCommand& command, const std::string& normalisedLine);

}  // namespace kv::ctrl
