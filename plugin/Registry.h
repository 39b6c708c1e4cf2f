// The registry as zelunit's registration uses it, shaped after the Reg*
// calls; results are Win32 error codes (0 success). Names and texts are
// UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/HResult.h"

namespace kv::plugin {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine };

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;

// An open key; closed when destroyed. An empty name is the default value.
// Strings are stored with their terminating zero, so that every reader gets
// a terminated text.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    virtual long SetString(const std::string& name, const std::string& value) = 0;
    virtual long SetBinary(const std::string& name, std::span<const std::uint8_t> bytes) = 0;
    virtual long SetDword(const std::string& name, std::uint32_t value) = 0;
    virtual long DeleteValue(const std::string& name) = 0;
    // kErrorFileNotFound when there is no such value.
    virtual long ReadBinary(const std::string& name, std::vector<std::uint8_t>& bytes) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Opens the key, creating it (and missing parents) when absent;
    // `created` tells which happened.
    virtual long CreateKey(RootKey root, const std::string& path, std::unique_ptr<RegistryKey>& key,
                           bool& created) = 0;
    // Opens an existing key; kErrorFileNotFound when there is none.
    virtual long OpenKey(RootKey root, const std::string& path, std::unique_ptr<RegistryKey>& key) = 0;
    // Removes the key with everything below it; kErrorFileNotFound when
    // there is none.
    virtual long DeleteTree(RootKey root, const std::string& path) = 0;
};

// HRESULT_FROM_WIN32.
constexpr platform::HResult FromWin32(long error) {
    return error <= 0 ? static_cast<platform::HResult>(error)
                      : static_cast<platform::HResult>(0x80070000u | (static_cast<std::uint32_t>(error) & 0xFFFFu));
}

}  // namespace kv::plugin
