// Environment port: what the process knows about where and how it was started.
#pragma once

#include <string>

namespace kv::platform {

class Environment {
public:
    virtual ~Environment() = default;
    // The whole command line as the platform hands it over, program path
    // included (Windows: GetCommandLineW; elsewhere argv joined by blanks).
    virtual std::string RawCommandLine() const = 0;
    // Full path of the running executable.
    virtual std::string ModulePath() const = 0;
    virtual std::string CurrentDirectory() const = 0;
    // The machine's common documents folder (not created when missing).
    virtual std::string CommonDocumentsFolder() const = 0;
    // True on Windows, where the platform tools (cmd.exe, systeminfo) exist.
    virtual bool IsWindows() const = 0;
};

}  // namespace kv::platform
