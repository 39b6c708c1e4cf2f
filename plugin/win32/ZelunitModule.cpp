// zelunit.dll's module: the four entry points, the class factory and the
// count of live objects and server locks.
#include <windows.h>

#include <atomic>
#include <string>

#include "plugin/SelfRegistration.h"
#include "plugin/win32/ExtensionUnit.h"
#include "plugin/win32/Win32Registration.h"

namespace kv::plugin::win32 {

namespace {

std::atomic<long> g_locks{0};
HMODULE g_module = nullptr;

// One factory for the process; its references do not keep the module (only
// LockServer does, as the COM rules ask).
class ClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        return CExtensionUnit::Create(outer, iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            LockModule();
        } else {
            UnlockModule();
        }
        return S_OK;
    }
};

ClassFactory g_factory;

struct Registration {
    std::unique_ptr<Registry> registry = MakeWin32Registry();
    std::unique_ptr<TypeLibrary> typeLibrary;
    std::string modulePath;
    std::string script;
};

// Everything the registration needs from the module; nothing when the
// module cannot tell its own path or script.
std::optional<Registration> Prepare() {
    const auto path = ModulePath(g_module);
    auto script = RegistryScriptResource(g_module);
    if (!path || !script) return std::nullopt;
    Registration registration;
    registration.typeLibrary = MakeWin32TypeLibrary(*path);
    registration.modulePath = Narrow(*path);
    registration.script = std::move(*script);
    return registration;
}

ServerRegistration Describe(const Registration& prepared) {
    return ServerRegistration{*prepared.registry, *prepared.typeLibrary,
                              [](const std::string& text) { OutputDebugStringA(text.c_str()); },
                              prepared.modulePath, prepared.script};
}

}  // namespace

void LockModule() { ++g_locks; }
void UnlockModule() { --g_locks; }
bool ModuleLocked() { return g_locks != 0; }

void SetModule(HMODULE module) { g_module = module; }
HMODULE Module() { return g_module; }

}  // namespace kv::plugin::win32

using namespace kv::plugin::win32;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetModule(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (clsid != CLSID_ExtensionUnit) return CLASS_E_CLASSNOTAVAILABLE;
    ClassFactory* factory = &g_factory;
    return factory->QueryInterface(iid, out);
}

// The shared control list holds the cameras' filters: the module stays while
// it is not empty, so that they are never released from inside its unload.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return ModuleLocked() || kv::plugin::PluginState::Process().count() != 0 ? S_FALSE : S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    const auto prepared = Prepare();
    return prepared ? kv::plugin::RegisterServer(Describe(*prepared)) : E_UNEXPECTED;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    const auto prepared = Prepare();
    return prepared ? kv::plugin::UnregisterServer(Describe(*prepared)) : E_UNEXPECTED;
}
