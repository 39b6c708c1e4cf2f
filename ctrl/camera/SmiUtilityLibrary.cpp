// SMIUtility binding: load by name, look up by name, call through cdecl
// pointers that may be missing.
#include "ctrl/camera/SmiUtilityLibrary.h"

#include <cstring>

namespace kv::ctrl {

namespace {

using NoArgs = int(KV_CDECL*)();
using IntPair = int(KV_CDECL*)(int, int);
using IntOut = int(KV_CDECL*)(int, int*);
using SetByVidPid = int(KV_CDECL*)(int, int, int, int);
using SetByVidPidIdx = int(KV_CDECL*)(int, int, int, int, int);
using GetByVidPid = int(KV_CDECL*)(int, int*, int, int);

template <typename Function>
Function As(void* entry) {
    return reinterpret_cast<Function>(entry);
}

}  // namespace

const std::array<const char*, 28>& SmiUtilityLibrary::EntryPointNames() {
    static const std::array<const char*, 28> names{"SMI_CreateDeviceObject",
                                                   "SMI_DestoryDeviceObject",
                                                   "SMI_CreateVideoRender",
                                                   "SMI_GetVIDPID",
                                                   "SMI_SnapshotCurrentResolution",
                                                   "SMI_SnapshotMaxResolution",
                                                   "SMI_SnapshotMaxResolutionAutoMode",
                                                   "SMI_SnapshotUserDefineResolution",
                                                   "SMI_SnapshotUserDefineResolutionAutoMode",
                                                   "SMI_StillPinSnapshot",
                                                   "SMI_DoOV3640AF_Reset",
                                                   "SMI_DoOV3640AF_ShowFrame",
                                                   "SMI_DoOV3640AF_HideFrame",
                                                   "SMI_DoOV3640AF_Once",
                                                   "SMI_DoOV3640AF_Continue",
                                                   "SMI_GetEEPROMVersion",
                                                   "SMI_SetSensorRegister",
                                                   "SMI_SetSensorRegisterByVidPid",
                                                   "SMI_SetSensorRegisterByVidPidIdx",
                                                   "SMI_GetSensorRegister",
                                                   "SMI_GetSensorRegisterByVidPidIdx",
                                                   "SMI_GetSensorRegisterByVidPid",
                                                   "SMI_SetGPIOValue",
                                                   "SMI_GetGPIOValue",
                                                   "SMI_SetGPIOValueByVidPid",
                                                   "SMI_SetGPIOValueByVidPidIdx",
                                                   "SMI_GetGPIOValueByVidPid",
                                                   "SMI_GetGPIOValueByVidPidIdx"};
    return names;
}

bool SmiUtilityLibrary::Load(platform::Modules& modules) {
    auto module = modules.Load(kLibraryName);
    if (!module) return false;
    Unload();
    m_module = std::move(module);
    const auto& names = EntryPointNames();
    for (std::size_t i = 0; i < names.size(); ++i) m_entryPoints[i] = m_module->Symbol(names[i]);
    return true;
}

void SmiUtilityLibrary::Unload() {
    m_entryPoints.fill(nullptr);
    m_module.reset();
}

void SmiUtilityLibrary::Abandon(KeptLibraries& kept) {
    m_entryPoints.fill(nullptr);
    if (m_module) kept.push_back(std::move(m_module));
}

void* SmiUtilityLibrary::Entry(const char* name) const {
    const auto& names = EntryPointNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (std::strcmp(names[i], name) == 0) return m_entryPoints[i];
    }
    return nullptr;
}

int SmiUtilityLibrary::CreateDeviceObject() {
    void* entry = Entry("SMI_CreateDeviceObject");
    // Without the entry point there is no device object: report it the way
    // the library reports a failed create.
    return entry ? As<NoArgs>(entry)() : 1;
}

int SmiUtilityLibrary::DestroyDeviceObject() {
    void* entry = Entry("SMI_DestoryDeviceObject");
    return entry ? As<NoArgs>(entry)() : 0;
}

int SmiUtilityLibrary::SetSensorRegisterByVidPid(int reg, int value, int productId) {
    void* entry = Entry("SMI_SetSensorRegisterByVidPid");
    return entry ? As<SetByVidPid>(entry)(reg, value, productId, kVendorId) : 0;
}

int SmiUtilityLibrary::SetSensorRegisterByVidPidIdx(int reg, int value, int productId, int position) {
    void* entry = Entry("SMI_SetSensorRegisterByVidPidIdx");
    return entry ? As<SetByVidPidIdx>(entry)(reg, value, productId, kVendorId, position) : 0;
}

int SmiUtilityLibrary::GetSensorRegisterByVidPid(int reg, int* value, int productId) {
    void* entry = Entry("SMI_GetSensorRegisterByVidPid");
    return entry ? As<GetByVidPid>(entry)(reg, value, productId, kVendorId) : 0;
}

int SmiUtilityLibrary::GetGpioValueByVidPid(int port, int* value, int productId) {
    void* entry = Entry("SMI_GetGPIOValueByVidPid");
    return entry ? As<GetByVidPid>(entry)(port, value, productId, kVendorId) : 0;
}

int SmiUtilityLibrary::SetGpioValueByVidPid(int port, int value, int productId) {
    void* entry = Entry("SMI_SetGPIOValueByVidPid");
    return entry ? As<SetByVidPid>(entry)(port, value, productId, kVendorId) : 0;
}

int SmiUtilityLibrary::GetGpioValue(int port, int* value) {
    void* entry = Entry("SMI_GetGPIOValue");
    return entry ? As<IntOut>(entry)(port, value) : 0;
}

int SmiUtilityLibrary::SetGpioValue(int port, int value) {
    void* entry = Entry("SMI_SetGPIOValue");
    return entry ? As<IntPair>(entry)(port, value) : 0;
}

}  // namespace kv::ctrl
