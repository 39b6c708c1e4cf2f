// Whole-file reads, in-place rewrites and line appends for the state and
// trace files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kv::sim {

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadWholeFile(const std::filesystem::path& file, std::string& text, std::string& error);

// What the file system says about a file's contents without reading them:
// equal stamps mean that nothing wrote the file in between, as far as the
// file system's clock can tell (the lock file's generation covers the rest).
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0;   // last write, in the file system's own units
    std::int64_t changed = 0;    // POSIX: last change of the inode; 0 on Windows
    std::uint64_t identity = 0;  // POSIX: device and inode mixed; 0 on Windows
    bool operator==(const FileStamp&) const = default;
};

// Nothing when the file is missing or cannot be examined.
std::optional<FileStamp> StampOf(const std::filesystem::path& file);

// Rewrites `file` in place (creating it when missing). A text shorter than
// the file is first written padded with blanks to the old length, then the
// file is cut to length, so that the file holds a whole text at every step;
// on POSIX the calling thread holds back the termination signals until both
// steps are done (a signal another thread takes, or SIGKILL, can still end
// the process half way: docs/simulator.md). Replacing
// the file through a renamed temporary would cost a new file, and freeing
// the old one's blocks, at every request.
bool RewriteInPlace(const std::filesystem::path& file, std::string_view text, std::string& error);

bool AppendToFile(const std::filesystem::path& file, std::string_view text, std::string& error);

// Empties the file (creating it when missing).
bool TruncateFile(const std::filesystem::path& file, std::string& error);

}  // namespace kv::sim
