// Processes port: starting other programs.
#pragma once

#include <memory>
#include <string>

namespace kv::platform {

// A program that was started and can be asked whether it has ended. Dropping
// the object leaves the program running.
class StartedProcess {
public:
    virtual ~StartedProcess() = default;
    // One look with a zero time-out: true once the program has ended.
    virtual bool HasEnded() = 0;
};

class Processes {
public:
    virtual ~Processes() = default;
    // Starts a command line with its window hidden and does not wait for it.
    // Windows: the line is run as given (it names cmd.exe itself); elsewhere
    // it is handed to /bin/sh -c. False when the start itself failed.
    virtual bool StartHidden(const std::string& commandLine) = 0;
    // Starts a program with a request for elevation ("runas"), hidden, and
    // does not wait for it. False when the start failed or was refused.
    virtual bool StartElevated(const std::string& program) = 0;
    // Starts `program`, named explicitly, with `commandLine` as its whole
    // command line (the program path included, as the program will read it)
    // and its window hidden. The program is never looked up from the command
    // line, where an unquoted path with blanks would name a shorter program
    // first ("C:\Program Files\x.exe" tries C:\Program.exe). Null when the
    // start failed or the started program cannot be watched.
    virtual std::unique_ptr<StartedProcess> StartProgramHidden(const std::string& program,
                                                               const std::string& commandLine) = 0;
};

}  // namespace kv::platform
