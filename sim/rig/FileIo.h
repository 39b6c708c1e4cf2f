// Whole-file reads, atomic replacement and line appends for the state and
// trace files.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kv::sim {

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadWholeFile(const std::filesystem::path& file, std::string& text, std::string& error);

// Writes a temporary file beside `file` and renames it over `file`, so that a
// reader sees either the old or the new contents, never a part.
bool ReplaceFileAtomically(const std::filesystem::path& file, std::string_view text, std::string& error);

bool AppendToFile(const std::filesystem::path& file, std::string_view text, std::string& error);

// Empties the file (creating it when missing).
bool TruncateFile(const std::filesystem::path& file, std::string& error);

}  // namespace kv::sim
