// Registry port, shaped after the wide Reg* calls: names, paths and texts are
// wide, results are the platform's error codes (0 success). The product's
// installation check, the plug-in's registration, the plug-in installer and
// the simulator's Windows parts all go through it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/HResult.h"

namespace kv::platform {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

// What an open key may do: read only; read and change its values; read,
// change values and add subkeys.
enum class RegistryAccess { Read, ReadAndSetValues, ReadWrite };

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorUnsupportedType = 1630;  // the value is there, of another type

// An open key; closed when the object goes. An empty name is the default
// value. Reads of a missing value give kErrorFileNotFound, of a value of
// another type kErrorUnsupportedType.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // Stored with its terminating zero, so that every reader gets a
    // terminated text.
    virtual long SetString(const std::wstring& name, const std::wstring& value) = 0;
    virtual long SetBinary(const std::wstring& name, std::span<const std::uint8_t> bytes) = 0;
    virtual long SetDword(const std::wstring& name, std::uint32_t value) = 0;
    virtual long DeleteValue(const std::wstring& name) = 0;
    // A plain or expandable text (not expanded), whatever its length, up to
    // its first zero; the stored text need not end with one.
    virtual long ReadString(const std::wstring& name, std::wstring& value) = 0;
    virtual long ReadDword(const std::wstring& name, std::uint32_t& value) = 0;
    virtual long ReadBinary(const std::wstring& name, std::vector<std::uint8_t>& bytes) = 0;
    // The names of the key's direct subkeys; empty when they cannot be read.
    virtual std::vector<std::wstring> SubkeyNames() = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Opens the key, creating it (and missing parents) when absent; when
    // `created` is given it tells which happened.
    virtual long CreateKey(RegistryRoot root, const std::wstring& path, RegistryAccess access,
                           std::unique_ptr<RegistryKey>& key, bool* created) = 0;
    // Opens an existing key and never creates one; kErrorFileNotFound when
    // there is none.
    virtual long OpenKey(RegistryRoot root, const std::wstring& path, RegistryAccess access,
                         std::unique_ptr<RegistryKey>& key) = 0;
    // Removes the key with everything below it; kErrorFileNotFound when
    // there is none.
    virtual long DeleteTree(RegistryRoot root, const std::wstring& path) = 0;
};

// HRESULT_FROM_WIN32.
constexpr HResult FromWin32(long error) {
    return error <= 0 ? static_cast<HResult>(error)
                      : static_cast<HResult>(0x80070000u | (static_cast<std::uint32_t>(error) & 0xFFFFu));
}

}  // namespace kv::platform
