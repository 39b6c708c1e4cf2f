// kvsimcam.dll's in-process server entry points.
#include <windows.h>
#include <olectl.h>

#include <cstdio>
#include <string>

#include "platform/win32/ComServer.h"
#include "platform/win32/ModuleFile.h"
#include "sim/win32/DeviceBinding.h"
#include "sim/win32/ServerLife.h"
#include "sim/win32/ServerRegistration.h"
#include "sim/win32/SimCaptureFilter.h"
#include "sim/win32/SimIds.h"

namespace kv::sim::win32 {

namespace {
platform::win32::ServerLife g_server;
}  // namespace

platform::win32::ServerLife& Server() { return g_server; }

}  // namespace kv::sim::win32

namespace {

std::wstring OwnPath() {
    const auto path =
        kv::platform::win32::ModuleFileName(kv::platform::win32::ModuleAt(reinterpret_cast<const void*>(&OwnPath)));
    return path.value_or(std::wstring());
}

HRESULT Reported(bool ok, const std::string& error) {
    if (ok) return S_OK;
    std::fprintf(stderr, "kvsimcam: %s\n", error.c_str());
    return SELFREG_E_CLASS;
}

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    using namespace kv::sim::win32;
    // A factory for each request, counted among the server's objects.
    return kv::platform::win32::ServeClassObject(clsid, kClsidSimCamera, iid, out, [](REFIID wanted, void** face) {
        return kv::platform::win32::CountedClassFactory::Create(&SimCaptureFilter::Create, Server(), wanted, face);
    });
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return kv::sim::win32::Server().InUse() ? S_FALSE : S_OK; }

// Registers the class only: devices come from "kvsim install".
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    const std::wstring path = OwnPath();
    if (path.empty()) return SELFREG_E_CLASS;
    std::string error;
    return Reported(kv::sim::win32::RegisterServerClass(path, error), error);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    std::string error;
    return Reported(kv::sim::win32::UnregisterServerClass(error), error);
}

// The stand-in SMIUtility.dll asks which camera the program bound last.
extern "C" long __cdecl KvSimBoundDevice() { return kv::sim::win32::DeviceBinding::LastBound(); }
