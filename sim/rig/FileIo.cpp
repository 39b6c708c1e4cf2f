// File reads and writes of the rig's state and trace.
#include "sim/rig/FileIo.h"

#include <fstream>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kv::sim {

namespace {

bool Rename(const std::filesystem::path& from, const std::filesystem::path& to, std::string& error) {
#ifdef _WIN32
    if (!MoveFileExW(from.wstring().c_str(), to.wstring().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = to.string() + ": cannot replace (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
#else
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (ec) error = to.string() + ": cannot replace (" + ec.message() + ")";
    return !ec;
#endif
}

bool WriteStream(const std::filesystem::path& file, std::string_view text, std::ios::openmode mode, std::string& error) {
    std::ofstream out(file, mode | std::ios::binary);
    if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (out) out.close();
    if (!out) {
        error = file.string() + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace

ReadResult ReadWholeFile(const std::filesystem::path& file, std::string& text, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return ReadResult::Missing;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = file.string() + ": cannot be read";
        return ReadResult::Failed;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return ReadResult::Ok;
}

bool ReplaceFileAtomically(const std::filesystem::path& file, std::string_view text, std::string& error) {
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    if (!WriteStream(temporary, text, std::ios::trunc, error)) return false;
    return Rename(temporary, file, error);
}

bool AppendToFile(const std::filesystem::path& file, std::string_view text, std::string& error) {
    return WriteStream(file, text, std::ios::app, error);
}

bool TruncateFile(const std::filesystem::path& file, std::string& error) {
    return WriteStream(file, {}, std::ios::trunc, error);
}

}  // namespace kv::sim
