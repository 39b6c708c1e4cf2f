// Test helpers for the simulated rig's Windows parts.
#include "tests/sim/win32/WinTestSupport.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/win32/Win32Adapters.h"
#include "sim/rig/Session.h"
#include "sim/win32/RigLocation.h"

namespace kv::sim::win32::test {

std::optional<std::wstring> RegistryText(platform::RegistryRoot root, const std::wstring& path,
                                         const std::wstring& name) {
    platform::win32::Win32Registry registry;
    std::unique_ptr<platform::RegistryKey> key;
    std::wstring text;
    if (registry.OpenKey(root, path, platform::RegistryAccess::Read, key) != ERROR_SUCCESS ||
        key->ReadString(name, text) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return text;
}

bool RegistryKeyExists(platform::RegistryRoot root, const std::wstring& path) {
    platform::win32::Win32Registry registry;
    std::unique_ptr<platform::RegistryKey> key;
    return registry.OpenKey(root, path, platform::RegistryAccess::Read, key) == ERROR_SUCCESS;
}

void RemoveRegistryKey(platform::RegistryRoot root, const std::wstring& path) {
    platform::win32::Win32Registry().DeleteTree(root, path);
}

std::filesystem::path BuildProduct(const char* unixPath) {
    const std::string text(unixPath);
    return std::filesystem::path(WindowsRigPath(std::wstring(text.begin(), text.end())));
}

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("kvsim-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::filesystem::path ScratchFolder::Write(const std::string& name, const std::string& text) const {
    const auto file = path_ / name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

RigVariable::RigVariable(const std::optional<std::filesystem::path>& rig) {
    wchar_t buffer[1024];
    const DWORD length = GetEnvironmentVariableW(L"KV_SIM_RIG", buffer, 1024);
    if (length != 0 && length < 1024) previous_ = std::wstring(buffer, length);
    SetEnvironmentVariableW(L"KV_SIM_RIG", rig ? rig->wstring().c_str() : nullptr);
}

RigVariable::~RigVariable() { SetEnvironmentVariableW(L"KV_SIM_RIG", previous_ ? previous_->c_str() : nullptr); }

Library::Library(const std::filesystem::path& file) : module_(LoadLibraryW(file.wstring().c_str())) {}

Library::~Library() {
    if (module_ != nullptr) FreeLibrary(module_);
}

void* Library::Entry(const char* name) const {
    return module_ != nullptr ? reinterpret_cast<void*>(GetProcAddress(module_, name)) : nullptr;
}

nlohmann::json DumpState(const std::filesystem::path& rigFile) {
    std::string error;
    const auto rig = Rig::Load(rigFile, error);
    if (!rig) throw std::runtime_error(error);
    Session session(*rig);
    std::string text;
    if (!session.DumpState(text, error)) throw std::runtime_error(error);
    return nlohmann::json::parse(text);
}

std::vector<nlohmann::json> TraceLines(const std::filesystem::path& rigFile) {
    std::string error;
    const auto rig = Rig::Load(rigFile, error);
    if (!rig) throw std::runtime_error(error);
    Session session(*rig);
    std::string text;
    if (!session.ReadTrace(text, error)) throw std::runtime_error(error);
    std::vector<nlohmann::json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

int BridgeRegister(const nlohmann::json& state, std::size_t device, const char* address) {
    const auto& registers = state.at("devices").at(device).at("registers");
    return registers.contains(address) ? registers.at(address).get<int>() : -1;
}

}  // namespace kv::sim::win32::test
