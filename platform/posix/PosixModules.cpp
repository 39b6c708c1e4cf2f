// Modules port on POSIX: in-process libraries registered by name.
#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {

namespace {

class RegisteredModule : public Module {
public:
    explicit RegisteredModule(const PosixModules::Symbols& symbols) : m_symbols(symbols) {}
    void* Symbol(const std::string& name) override {
        const auto found = m_symbols.find(name);
        return found == m_symbols.end() ? nullptr : found->second;
    }

private:
    const PosixModules::Symbols& m_symbols;
};

}  // namespace

void PosixModules::Register(const std::string& name, Symbols symbols) { m_modules[name] = std::move(symbols); }

std::unique_ptr<Module> PosixModules::Load(const std::string& name) {
    const auto found = m_modules.find(name);
    if (found == m_modules.end()) return nullptr;
    return std::make_unique<RegisteredModule>(found->second);
}

}  // namespace kv::platform::posix
