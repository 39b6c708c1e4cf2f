// ClientPropertyPageLIB binding: all four entry points or none.
#include "ctrl/camera/ClientPropertyPageLib.h"

namespace kv::ctrl {

ClientPropertyPageLib::ClientPropertyPageLib(std::unique_ptr<platform::Module> module, Initial initial, Read read,
                                             Write write, Uninitial uninitial)
    : m_module(std::move(module)), m_initial(initial), m_read(read), m_write(write), m_uninitial(uninitial) {}

std::unique_ptr<ClientPropertyPageLib> ClientPropertyPageLib::Load(platform::Modules& modules) {
    auto module = modules.Load(kLibraryName);
    if (!module) return nullptr;
    // The default (cdecl) convention of the vendor's compiler, as the
    // decorations say (YA = global, cdecl).
    auto initial = reinterpret_cast<Initial>(module->Symbol("?InitialLIB@@YAHXZ"));
    auto read = reinterpret_cast<Read>(module->Symbol("?ReadAsic@@YAHJPAJ@Z"));
    auto write = reinterpret_cast<Write>(module->Symbol("?WriteAsic@@YAHJJ@Z"));
    auto uninitial = reinterpret_cast<Uninitial>(module->Symbol("?UNInitialLIB@@YAXXZ"));
    if (!initial || !read || !write || !uninitial) return nullptr;
    return std::unique_ptr<ClientPropertyPageLib>(
        new ClientPropertyPageLib(std::move(module), initial, read, write, uninitial));
}

int ClientPropertyPageLib::InitialLIB() { return m_initial(); }
int ClientPropertyPageLib::ReadAsic(long reg, long* value) { return m_read(reg, value); }
int ClientPropertyPageLib::WriteAsic(long reg, long value) { return m_write(reg, value); }
void ClientPropertyPageLib::UNInitialLIB() { m_uninitial(); }

}  // namespace kv::ctrl
