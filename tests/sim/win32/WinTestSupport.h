// Scratch folders, rig files, build products and COM for the tests of the
// simulated rig's Windows parts (run under Wine, each binary in a fresh
// prefix of its own).
#pragma once

#include <windows.h>
#include <objbase.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/Registry.h"

namespace kv::sim::win32::test {

// A file of the build tree, named by its Unix path, as Wine reaches it.
std::filesystem::path BuildProduct(const char* unixPath);

// The prefix's registry, through the adapter the simulator writes it with: a
// text value (nothing when the key or value is missing), whether a key is
// there, and removing a key with everything below it.
std::optional<std::wstring> RegistryText(platform::RegistryRoot root, const std::wstring& path,
                                         const std::wstring& name);
bool RegistryKeyExists(platform::RegistryRoot root, const std::wstring& path);
void RemoveRegistryKey(platform::RegistryRoot root, const std::wstring& path);

// A fresh folder under the prefix's temporary folder, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path Write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path path_;
};

// KV_SIM_RIG of this process for the object's lifetime (nothing: unset).
class RigVariable {
public:
    explicit RigVariable(const std::optional<std::filesystem::path>& rig);
    ~RigVariable();
    RigVariable(const RigVariable&) = delete;
    RigVariable& operator=(const RigVariable&) = delete;

private:
    std::optional<std::wstring> previous_;
};

// COM on the calling thread for the object's lifetime.
class ComApartment {
public:
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

// A DLL loaded by full path, and its entry points by exported name.
class Library {
public:
    explicit Library(const std::filesystem::path& file);
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    void* Entry(const char* name) const;
    template <class Fn>
    Fn As(const char* name) const {
        return reinterpret_cast<Fn>(Entry(name));
    }

private:
    HMODULE module_ = nullptr;
};

// The rig's state as `kvsim dump` prints it, and its trace lines.
nlohmann::json DumpState(const std::filesystem::path& rig);
std::vector<nlohmann::json> TraceLines(const std::filesystem::path& rig);

// A bridge register of a device in a state dump; -1 when never set.
int BridgeRegister(const nlohmann::json& state, std::size_t device, const char* address);

}  // namespace kv::sim::win32::test
