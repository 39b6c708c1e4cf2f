// The debug log file.
#include "ctrl/common/LogFile.h"

#include <cstdio>

#include "ctrl/common/ProgramPath.h"
#include "ctrl/common/Text.h"

namespace kv::ctrl {

namespace {

bool IsSeparator(const platform::Files& files, char c) {
    // Windows accepts both separators; elsewhere only the platform's own.
    return c == files.Separator() || (files.Separator() == '\\' && c == '/');
}

}  // namespace

std::string LogFolderFile(const platform::Ports& ports, const std::string& fileName) {
    const std::string sep(1, ports.files.Separator());
    return ports.environment.CommonDocumentsFolder() + sep + "KV_DS_Ctrl" + sep + "Log" + sep + fileName;
}

std::string FormatLogLine(const platform::LocalTime& t, const std::string& message) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d:%03d \t", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.millisecond);
    const std::string body = std::string(stamp) + TruncateChars(message, kLogBufferChars);
    return TruncateChars(body, kLogBufferChars - 1) + "\n";
}

void MakeDirectoryPath(platform::Files& files, const std::string& filePath) {
    // Every prefix that ends in front of a separator is a folder of the path;
    // the last part is the file name and is not created.
    for (std::size_t i = 1; i < filePath.size(); ++i) {
        if (!IsSeparator(files, filePath[i]) || IsSeparator(files, filePath[i - 1])) continue;
        const std::string folder = filePath.substr(0, i);
        if (folder.size() == 2 && folder[1] == ':') continue;  // a drive, e.g. "C:"
        if (!files.IsDirectory(folder)) files.CreateFolder(folder);
    }
}

LogFile::LogFile(platform::Ports& ports) : ports_(ports) {}

LogFile::~LogFile() { Close(); }

bool LogFile::EndsWithFileName(const std::string& fileName) const {
    return path_.size() >= fileName.size() &&
           path_.compare(path_.size() - fileName.size(), fileName.size(), fileName) == 0;
}

void LogFile::Open(const std::string& fileName) {
    if (!path_.empty() && EndsWithFileName(fileName)) return;
    if (!path_.empty()) Close();
    path_ = LogFolderFile(ports_, fileName);
    stream_ = ports_.files.OpenTextForWriting(path_);
    if (!stream_) {
        MakeDirectoryPath(ports_.files, path_);
        stream_ = ports_.files.OpenTextForWriting(path_);
    }
}

void LogFile::WriteLine(const std::string& message) {
    if (!stream_) return;
    const std::lock_guard<std::mutex> hold(lock_);
    stream_->Write(FormatLogLine(ports_.clock.Now(), message));
    stream_->Flush();
}

void LogFile::Close() {
    // The line as given, not lower-cased: an upper-case /D logs but gets no
    // banner.
    if (MaskedCommandLine(ports_.environment).find("/d") == std::string::npos) return;
    if (!stream_) return;
    const std::lock_guard<std::mutex> hold(lock_);
    stream_->Write(kLogClosingBanner);
    stream_->Flush();
    stream_.reset();
}

void LogFile::Abandon() { stream_.reset(); }

}  // namespace kv::ctrl
