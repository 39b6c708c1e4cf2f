// Modules port on Windows: LoadLibraryW and GetProcAddress.
#include <windows.h>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

namespace {

class Win32Module : public Module {
public:
    explicit Win32Module(HMODULE module) : m_module(module) {}
    ~Win32Module() override { FreeLibrary(m_module); }
    Win32Module(const Win32Module&) = delete;
    Win32Module& operator=(const Win32Module&) = delete;
    void* Symbol(const std::string& name) override {
        return reinterpret_cast<void*>(GetProcAddress(m_module, name.c_str()));
    }

private:
    HMODULE m_module;
};

}  // namespace

std::unique_ptr<Module> Win32Modules::Load(const std::string& name) {
    const HMODULE module = LoadLibraryW(Widen(name).c_str());
    if (!module) return nullptr;
    return std::make_unique<Win32Module>(module);
}

std::unique_ptr<Module> Win32Modules::LoadFromProgramFolder(const std::string& name) {
    const HMODULE module = LoadLibraryExW(Widen(name).c_str(), nullptr,
                                          LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return nullptr;
    return std::make_unique<Win32Module>(module);
}

}  // namespace kv::platform::win32
