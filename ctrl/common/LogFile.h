// The debug log file: one time-stamped line per call, a closing banner, and
// the folder it lives in under the common documents folder.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/Clock.h"
#include "platform/Ports.h"

namespace kv::ctrl {

inline constexpr const char* kLogFileName = "KV_DS_LOG.txt";
inline constexpr const char* kSystemInfoFileName = "systeminfo.txt";
inline constexpr const char* kLogClosingBanner = "\n===============Logging finished================\n\n";
// Messages and whole lines are each held to this many characters, the line
// end included.
inline constexpr std::size_t kLogBufferChars = 255;

// <common documents>\KV_DS_Ctrl\Log\<fileName>, with the platform's separator.
std::string LogFolderFile(const platform::Ports& ports, const std::string& fileName);

// "YYYY/MM/DD hh:mm:ss:mmm \t<message>\n". Over-long text is cut so that the
// line keeps its line end: a cut line never runs into the next one.
std::string FormatLogLine(const platform::LocalTime& time, const std::string& message);

// Creates every missing folder of a full file path (not the file itself),
// leaving the process's current directory alone.
void MakeDirectoryPath(platform::Files& files, const std::string& filePath);

class LogFile {
public:
    explicit LogFile(platform::Ports& ports);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Opens <log folder>\fileName with truncation unless it is already the
    // open file; creates the folder when the first attempt fails.
    void Open(const std::string& fileName);
    // Drops the line silently when no stream is open.
    void WriteLine(const std::string& message);
    // Writes the closing banner and closes; only in debug mode ("/d" in the
    // raw command line).
    void Close();
    // Lets go of the stream without the banner, as the end of the process
    // does for a log object that is never deleted.
    void Abandon();

    const std::string& path() const { return path_; }

private:
    bool EndsWithFileName(const std::string& fileName) const;

    platform::Ports& ports_;
    std::unique_ptr<platform::TextStream> stream_;
    std::mutex lock_;
    std::string path_;
};

}  // namespace kv::ctrl
