// Profile-file port: the platform's private-profile string calls on a
// settings file of sections and "key=value" lines.
#pragma once

#include <cstddef>
#include <string>

namespace kv::platform {

class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;
    // The value of `key` in `section` of the file at `path`, or `defaultValue`
    // when the file, the section or the key is missing. Section and key names
    // match whatever their case. Like the platform's call with a buffer of
    // `bufferSize` characters, at most bufferSize - 1 of them come back.
    virtual std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                                   const std::string& defaultValue, std::size_t bufferSize) = 0;
    // Whether `key` of `section` is in the file at all, an empty value
    // included. The platform's call answers a missing key with the default it
    // is given, so a key is there exactly when two reads with different
    // defaults agree: every adapter reads the file the way ReadString does.
    bool HasKey(const std::string& path, const std::string& section, const std::string& key) {
        return ReadString(path, section, key, "0", 2) == ReadString(path, section, key, "1", 2);
    }
    // Sets `key` in `section` to `value`, creating the file, the section or
    // the key as needed; everything else in the file stays as it was. False
    // when the file cannot be written (a read-only file or folder, a full
    // disk); the file is then left as it was.
    virtual bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
};

}  // namespace kv::platform
