// The sensor-bridge vendor library "SMIUtility.dll", bound by name at run
// time: its 28 entry points (cdecl, int arguments) and the calls we make.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/Modules.h"

#if defined(_WIN32) && !defined(_WIN64)
#define KV_CDECL __cdecl
#else
#define KV_CDECL
#endif

namespace kv::ctrl {

// Outside libraries that must stay loaded to the end of the process (the run
// context holds them and is never destroyed).
using KeptLibraries = std::vector<std::unique_ptr<platform::Module>>;

class SmiUtilityLibrary {
public:
    static constexpr const char* kLibraryName = "SMIUtility.dll";
    // Every camera is addressed by the Korvex vendor id and its product id.
    static constexpr int kVendorId = 0xA168;

    // Loads the library and looks up every entry point; a missing name stays
    // null. False (and nothing bound) when the library does not load.
    bool Load(platform::Modules& modules);
    // Forgets the entry points and frees the library.
    void Unload();
    // Forgets the entry points and hands the library to `kept`, which keeps
    // it loaded.
    void Abandon(KeptLibraries& kept);
    bool IsLoaded() const { return m_module != nullptr; }

    // Each call does nothing and returns 0 while its entry point is null,
    // except Create, which then reports failure (nonzero).
    int CreateDeviceObject();
    int DestroyDeviceObject();
    int SetSensorRegisterByVidPid(int reg, int value, int productId);
    int SetSensorRegisterByVidPidIdx(int reg, int value, int productId, int position);
    int GetSensorRegisterByVidPid(int reg, int* value, int productId);
    int GetGpioValueByVidPid(int port, int* value, int productId);
    int SetGpioValueByVidPid(int port, int value, int productId);
    int GetGpioValue(int port, int* value);
    int SetGpioValue(int port, int value);

    static const std::array<const char*, 28>& EntryPointNames();

private:
    void* Entry(const char* name) const;

    std::unique_ptr<platform::Module> m_module;
    std::array<void*, 28> m_entryPoints{};
};

}  // namespace kv::ctrl
