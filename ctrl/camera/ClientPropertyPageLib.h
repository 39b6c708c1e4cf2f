// The bridge register library "ClientPropertyPageLIB.dll", loaded by name
// when a camera needs it (never imported, so the program starts without it).
// Its four C++ entry points are bound by the x86 names the vendor's compiler
// gives them.
#pragma once

#include <memory>

#include "platform/Modules.h"

namespace kv::ctrl {

class ClientPropertyPageLib {
public:
    static constexpr const char* kLibraryName = "ClientPropertyPageLIB.dll";

    // Null when the library does not load or lacks any of the four entry
    // points. The library is freed when the object goes.
    static std::unique_ptr<ClientPropertyPageLib> Load(platform::Modules& modules);

    int InitialLIB();
    int ReadAsic(long reg, long* value);
    int WriteAsic(long reg, long value);
    void UNInitialLIB();

private:
    using Initial = int (*)();
    using Read = int (*)(long, long*);
    using Write = int (*)(long, long);
    using Uninitial = void (*)();

    ClientPropertyPageLib(std::unique_ptr<platform::Module> module, Initial initial, Read read, Write write,
                          Uninitial uninitial);

    std::unique_ptr<platform::Module> m_module;
    Initial m_initial;
    Read m_read;
    Write m_write;
    Uninitial m_uninitial;
};

}  // namespace kv::ctrl
