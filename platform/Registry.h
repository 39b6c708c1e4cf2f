// Registry port: the keys and values the installation check reads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kv::platform {

enum class RegistryRoot { CurrentUser, LocalMachine };

// An open key; closed when the object goes.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // A 4-byte value as an unsigned number; false when it cannot be read.
    virtual bool ReadDword(const std::string& name, std::uint32_t& value) = 0;
    // A text value, whatever its length (an install folder may be deeper
    // than the platform's classic path limit); false when it cannot be read.
    virtual bool ReadString(const std::string& name, std::string& value) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Opens the key for reading, creating it (empty) when it is missing, as
    // RegCreateKeyExA does; null when that fails.
    virtual std::unique_ptr<RegistryKey> CreateKeyForReading(RegistryRoot root, const std::string& path) = 0;
    // Opens an existing key for reading and never creates one; null when it
    // is missing or cannot be opened.
    virtual std::unique_ptr<RegistryKey> OpenKeyForReading(RegistryRoot root, const std::string& path) = 0;
};

}  // namespace kv::platform
