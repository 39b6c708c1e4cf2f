// Modules port: outside libraries loaded by name at run time.
#pragma once

#include <memory>
#include <string>

// The calling convention of the platform's WINAPI entry points (stdcall on
// 32-bit Windows), for entry points looked up by name.
#if defined(_WIN32) && !defined(_WIN64)
#define KV_WINAPI __stdcall
#else
#define KV_WINAPI
#endif

namespace kv::platform {

// A loaded library; freed when the object goes.
class Module {
public:
    virtual ~Module() = default;
    // The entry point's address, or null when the library has no such name.
    // The caller casts it to the entry point's documented signature.
    virtual void* Symbol(const std::string& name) = 0;
};

class Modules {
public:
    virtual ~Modules() = default;
    // Null when the library cannot be loaded.
    virtual std::unique_ptr<Module> Load(const std::string& name) = 0;
    // Looks for the library only in the program's own folder and the system
    // folder, never in the current folder or along PATH (for what an
    // elevated process loads). Null when it is not there.
    virtual std::unique_ptr<Module> LoadFromProgramFolder(const std::string& name) = 0;
    // False where no library of this name can exist at all (a Windows
    // library on another system), as against one that is merely missing.
    virtual bool CanExist(const std::string& /*name*/) { return true; }
};

}  // namespace kv::platform
