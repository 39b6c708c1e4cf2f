// Direct-USB port on Windows: the outside USB library, loaded at run time by
// name so that a machine without it still runs every other command.
#include <windows.h>

#include <cstddef>
#include <cstring>

#include "platform/win32/UsbKTypes.h"
#include "platform/win32/Win32Adapters.h"

namespace kv::platform::win32 {

namespace {

using namespace usbk;  // every call of the library is WINAPI

using InitFn = BOOL(WINAPI*)(void** handle, DeviceInfo* info);
using FreeFn = BOOL(WINAPI*)(void* handle);
using QueryPipeFn = BOOL(WINAPI*)(void* handle, UCHAR altSetting, UCHAR pipeIndex, PipeInformation* pipe);

struct Library {
    HMODULE module = nullptr;
    BOOL(WINAPI* listInit)(void** list, int flags) = nullptr;
    BOOL(WINAPI* listCount)(void* list, UINT* count) = nullptr;
    BOOL(WINAPI* listFindByVidPid)(void* list, int vid, int pid, DeviceInfo** info) = nullptr;
    BOOL(WINAPI* listMoveNext)(void* list, DeviceInfo** info) = nullptr;
    BOOL(WINAPI* listFree)(void* list) = nullptr;
    BOOL(WINAPI* loadDriverApi)(DriverApi* api, int driverId) = nullptr;
    BOOL(WINAPI* controlTransfer)
    (void* handle, SetupPacket setup, UCHAR* buffer, UINT length, UINT* transferred, OVERLAPPED* overlapped) = nullptr;

    ~Library() {
        if (module) FreeLibrary(module);
    }
    template <class Fn>
    bool Bind(Fn& fn, const char* name) {
        fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
        return fn != nullptr;
    }
};

std::shared_ptr<Library> LoadLibraryOnce() {
    auto library = std::make_shared<Library>();
    library->module = LoadLibraryW(L"libusbK.dll");
    if (!library->module) return nullptr;
    const bool complete =
        library->Bind(library->listInit, "LstK_Init") & library->Bind(library->listCount, "LstK_Count") &
        library->Bind(library->listFindByVidPid, "LstK_FindByVidPid") &
        library->Bind(library->listMoveNext, "LstK_MoveNext") & library->Bind(library->listFree, "LstK_Free") &
        library->Bind(library->loadDriverApi, "LibK_LoadDriverAPI") &
        library->Bind(library->controlTransfer, "UsbK_ControlTransfer");
    return complete ? library : nullptr;
}

// The driver functions of an opened device, from its driver's table.
struct DeviceCalls {
    FreeFn free = nullptr;
    QueryPipeFn queryPipe = nullptr;
};

// Owns the opened device: the driver keeps the device claimed until its
// handle is freed, which happens here, before the library can be unloaded.
class Win32UsbHandle : public UsbHandle {
public:
    Win32UsbHandle(std::shared_ptr<Library> library, void* handle, DeviceCalls calls)
        : m_library(std::move(library)), m_handle(handle), m_free(calls.free), m_queryPipe(calls.queryPipe) {}
    ~Win32UsbHandle() override {
        if (m_free) m_free(m_handle);
    }
    Win32UsbHandle(const Win32UsbHandle&) = delete;
    Win32UsbHandle& operator=(const Win32UsbHandle&) = delete;

    bool ControlTransfer(const UsbSetupPacket& setup, std::uint8_t* buffer, std::uint32_t bufferLength,
                         std::uint32_t& transferred) override {
        const SetupPacket packet{setup.requestType, setup.request, setup.value, setup.index, setup.length};
        UINT moved = 0;
        const BOOL ok = m_library->controlTransfer(m_handle, packet, buffer, bufferLength, &moved, nullptr);
        transferred = moved;
        return ok != FALSE;
    }
    bool QueryPipe(std::uint8_t altSetting, std::uint8_t pipeIndex, UsbPipeInfo& pipe) override {
        if (!m_queryPipe) return false;
        PipeInformation info{};
        if (!m_queryPipe(m_handle, altSetting, pipeIndex, &info)) return false;
        pipe = {info.pipeType, info.pipeId, info.maximumPacketSize, info.interval};
        return true;
    }

private:
    std::shared_ptr<Library> m_library;
    void* m_handle;
    FreeFn m_free;
    QueryPipeFn m_queryPipe;
};

class Win32UsbDeviceList : public UsbDeviceList {
public:
    Win32UsbDeviceList(std::shared_ptr<Library> library, void* list) : m_library(std::move(library)), m_list(list) {}
    ~Win32UsbDeviceList() override { m_library->listFree(m_list); }
    Win32UsbDeviceList(const Win32UsbDeviceList&) = delete;
    Win32UsbDeviceList& operator=(const Win32UsbDeviceList&) = delete;

    std::uint32_t Count() override {
        UINT count = 0;
        return m_library->listCount(m_list, &count) ? count : 0;
    }
    const UsbDeviceEntry* FindByVidPid(int vid, int pid) override {
        m_current = nullptr;
        if (!m_library->listFindByVidPid(m_list, vid, pid, &m_current)) m_current = nullptr;
        return Current();
    }
    const UsbDeviceEntry* MoveNext() override {
        if (!m_library->listMoveNext(m_list, &m_current)) m_current = nullptr;
        return Current();
    }
    std::unique_ptr<UsbHandle> OpenCurrent(std::uint32_t& lastError) override {
        if (!m_current) return nullptr;
        DriverApi api{};
        m_library->loadDriverApi(&api, m_current->driverId);
        const auto init = reinterpret_cast<InitFn>(api.functions[kInitSlot]);
        void* handle = nullptr;
        if (!init || !init(&handle, m_current)) {
            lastError = GetLastError();
            return nullptr;
        }
        const DeviceCalls calls{reinterpret_cast<FreeFn>(api.functions[kFreeSlot]),
                                reinterpret_cast<QueryPipeFn>(api.functions[kQueryPipeSlot])};
        return std::make_unique<Win32UsbHandle>(m_library, handle, calls);
    }

private:
    const UsbDeviceEntry* Current() {
        if (!m_current) return nullptr;
        m_entry = {m_current->vid, m_current->pid, std::string(m_current->deviceId, strnlen(m_current->deviceId, 256)),
                   m_current->driverId};
        return &m_entry;
    }

    std::shared_ptr<Library> m_library;
    void* m_list;
    DeviceInfo* m_current = nullptr;
    UsbDeviceEntry m_entry;
};

}  // namespace

// A library that lacks one of the calls counts as missing: it is not the
// library we were built against.
bool Win32DirectUsb::LibraryLoads() { return LoadLibraryOnce() != nullptr; }

std::unique_ptr<UsbDeviceList> Win32DirectUsb::ListInit() {
    const auto library = LoadLibraryOnce();
    if (!library) return nullptr;
    void* list = nullptr;
    if (!library->listInit(&list, 0)) return nullptr;
    return std::make_unique<Win32UsbDeviceList>(library, list);
}

}  // namespace kv::platform::win32
