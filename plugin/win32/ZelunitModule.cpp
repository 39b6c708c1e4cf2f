// zelunit.dll's module: the four entry points, its class factory and the
// count of live objects and server locks.
#include <windows.h>

#include <string>

#include "platform/win32/ComServer.h"
#include "platform/win32/ModuleFile.h"
#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"
#include "plugin/SelfRegistration.h"
#include "plugin/win32/ExtensionUnit.h"
#include "plugin/win32/Win32Registration.h"

namespace kv::plugin::win32 {

namespace {

platform::win32::ServerLife g_server;
HMODULE g_module = nullptr;

// One factory for the process, for as long as the module is loaded.
platform::win32::ModuleClassFactory g_factory(&CExtensionUnit::Create, g_server);

struct Registration {
    platform::win32::Win32Registry registry;
    std::unique_ptr<TypeLibrary> typeLibrary;
    std::string modulePath;
    std::string script;
};

// Everything the registration needs from the module; nothing when the
// module cannot tell its own path or script.
std::unique_ptr<Registration> Prepare() {
    const auto path = platform::win32::ModuleFileName(g_module);
    auto script = RegistryScriptResource(g_module);
    if (!path || !script) return nullptr;
    auto registration = std::make_unique<Registration>();
    registration->typeLibrary = MakeWin32TypeLibrary(*path);
    registration->modulePath = platform::win32::Narrow(*path);
    registration->script = std::move(*script);
    return registration;
}

ServerRegistration Describe(Registration& prepared) {
    return ServerRegistration{prepared.registry, *prepared.typeLibrary,
                              [](const std::string& text) { OutputDebugStringA(text.c_str()); }, prepared.modulePath,
                              prepared.script};
}

}  // namespace

platform::win32::ServerLife& Server() { return g_server; }

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
    return kv::platform::win32::ServeClassObject(clsid, CLSID_ExtensionUnit, iid, out, [](REFIID wanted, void** face) {
        return g_factory.QueryInterface(wanted, face);
    });
}

// The shared control list holds the cameras' filters: the module stays while
// it is not empty, so that they are never released from inside its unload.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return Server().InUse() || kv::plugin::PluginState::Process().count() != 0 ? S_FALSE : S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    const auto prepared = Prepare();
    return prepared ? kv::plugin::RegisterServer(Describe(*prepared)) : E_UNEXPECTED;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    const auto prepared = Prepare();
    return prepared ? kv::plugin::UnregisterServer(Describe(*prepared)) : E_UNEXPECTED;
}
