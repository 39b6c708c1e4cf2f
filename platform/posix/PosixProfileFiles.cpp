// Profile-file port on POSIX: our own profile text, read whole and written
// whole through a temporary file that replaces the old one, so that a
// failed write leaves the old file as it was.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>

#include <unistd.h>

#include "platform/ProfileText.h"
#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {

namespace {

std::optional<std::string> ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

bool ReplaceWhole(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.flush();
        if (!file) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

}  // namespace

std::string PosixProfileFiles::ReadString(const std::string& path, const std::string& section, const std::string& key,
                                          const std::string& defaultValue, std::size_t bufferSize) {
    const auto text = ReadWhole(path);
    return ReadProfileString(text ? std::optional<std::string_view>(*text) : std::nullopt, section, key, defaultValue,
                             bufferSize);
}

bool PosixProfileFiles::WriteString(const std::string& path, const std::string& section, const std::string& key,
                                    const std::string& value) {
    const auto text = WriteProfileString(ReadWhole(path).value_or(std::string()), section, key, value);
    return text && ReplaceWhole(path, *text);
}

}  // namespace kv::platform::posix
