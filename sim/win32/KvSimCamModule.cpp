// kvsimcam.dll's in-process server entry points.
#include <windows.h>
#include <olectl.h>

#include <cstdio>
#include <string>

#include "sim/win32/ClassFactory.h"
#include "sim/win32/DeviceBinding.h"
#include "sim/win32/ServerLife.h"
#include "sim/win32/ServerRegistration.h"
#include "sim/win32/SimIds.h"

namespace {

std::wstring OwnPath() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&OwnPath), &self);
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    return length != 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

HRESULT Reported(bool ok, const std::string& error) {
    if (ok) return S_OK;
    std::fprintf(stderr, "kvsimcam: %s\n", error.c_str());
    return SELFREG_E_CLASS;
}

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (clsid != kv::sim::win32::kClsidSimCamera) return CLASS_E_CLASSNOTAVAILABLE;
    return kv::sim::win32::GetSimFilterClassObject(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return kv::sim::win32::ServerInUse() ? S_FALSE : S_OK; }

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
