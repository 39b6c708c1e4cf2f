// Environment port: what the process knows about where and how it was started.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kv::platform {

// What GetVersionExA reports.
struct OsVersion {
    std::uint32_t platformId = 0;  // 2: VER_PLATFORM_WIN32_NT
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

class Environment {
public:
    virtual ~Environment() = default;
    // The whole command line as the platform hands it over, program path
    // included (Windows: GetCommandLineW; elsewhere argv joined by blanks,
    // the program path quoted when it holds a blank or tab).
    virtual std::string RawCommandLine() const = 0;
    // Full path of the running executable.
    virtual std::string ModulePath() const = 0;
    virtual std::string CurrentDirectory() const = 0;
    // The machine's common documents folder (not created when missing).
    virtual std::string CommonDocumentsFolder() const = 0;
    // True on Windows, where the platform tools (cmd.exe, systeminfo) exist.
    virtual bool IsWindows() const = 0;
    // False when the platform does not report a Windows version.
    virtual bool GetOsVersion(OsVersion& version) const = 0;
    // The process token's TokenElevationType (2: full) and TokenElevation
    // (1: elevated) answers; nothing when the query fails.
    virtual std::optional<std::uint32_t> TokenElevationType() const = 0;
    virtual std::optional<std::uint32_t> TokenElevation() const = 0;
};

}  // namespace kv::platform
