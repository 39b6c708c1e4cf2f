// Processes port: starting other programs.
#pragma once

#include <string>

namespace kv::platform {

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
};

}  // namespace kv::platform
