// Stand-in libusbK.dll, device side: the driver function table, opening a
// listed device, and control transfers to the rig's camera.
#include <windows.h>

#include <cstring>
#include <span>

#include "sim/hw/DirectUsbDevice.h"
#include "sim/win32/StandInRig.h"
#include "sim/win32/UsbKHandles.h"

namespace {

using namespace kv::sim::win32::usbk;

// The driver ids the library knows: libusbK, libusb0, WinUSB, libusb0 filter.
constexpr int kLastDriverId = 3;
constexpr int kTableFunctions = 22;  // Init .. QueryPipe

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// The Win32 error behind a device's failure code.
DWORD Win32Error(kv::platform::HResult hr) {
    const auto code = static_cast<HRESULT>(hr);
    return HRESULT_FACILITY(code) == FACILITY_WIN32 ? static_cast<DWORD>(HRESULT_CODE(code)) : ERROR_GEN_FAILURE;
}

}  // namespace

extern "C" {

BOOL WINAPI UsbK_Init(void** handle, DeviceInfo* deviceInfo) {
    if (handle == nullptr || deviceInfo == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    *handle = nullptr;
    const auto device = DeviceOfEntry(deviceInfo);
    if (!device) return Fail(ERROR_INVALID_HANDLE);
    const auto answer = kv::sim::win32::AskDevice(*device->rig, device->device,
                                                  [](kv::sim::Session& s, std::size_t d) { return s.UsbOpen(d); });
    if (kv::platform::Failed(answer.hr)) return Fail(Win32Error(answer.hr));
    *handle = AddDevice(*device);
    return TRUE;
}

BOOL WINAPI UsbK_Free(void* handle) { return FreeDevice(handle) ? TRUE : Fail(ERROR_INVALID_HANDLE); }

BOOL WINAPI UsbK_ControlTransfer(void* handle, SetupPacket setup, UCHAR* buffer, UINT bufferLength,
                                 UINT* lengthTransferred, OVERLAPPED* overlapped) {
    if (lengthTransferred != nullptr) *lengthTransferred = 0;
    const auto device = FindDevice(handle);
    if (!device) return Fail(ERROR_INVALID_HANDLE);
    if (overlapped != nullptr) return Fail(ERROR_NOT_SUPPORTED);  // the stand-in transfers synchronously only
    if (buffer == nullptr && bufferLength != 0) return Fail(ERROR_INVALID_PARAMETER);
    const kv::sim::UsbSetup packet{setup.requestType, setup.request, setup.value, setup.index, setup.length};
    const std::span<std::uint8_t> data =
        buffer != nullptr ? std::span<std::uint8_t>(buffer, bufferLength) : std::span<std::uint8_t>();
    const auto answer =
        kv::sim::win32::AskDevice(*device->rig, device->device,
                                  [&](kv::sim::Session& s, std::size_t d) { return s.UsbControl(d, packet, data); });
    if (kv::platform::Failed(answer.hr)) return Fail(Win32Error(answer.hr));
    if (lengthTransferred != nullptr) *lengthTransferred = answer.bytesReturned;
    return TRUE;
}

// The model's cameras are reached by control transfers alone: no interface
// setting has pipes to describe.
BOOL WINAPI UsbK_QueryPipe(void* handle, UCHAR, UCHAR, PipeInformation* pipe) {
    if (!FindDevice(handle)) return Fail(ERROR_INVALID_HANDLE);
    if (pipe == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    return Fail(ERROR_NO_MORE_ITEMS);
}

// Only the functions the stand-in implements are filled in; the other slots
// stay null.
BOOL WINAPI LibK_LoadDriverAPI(DriverApi* api, int driverId) {
    if (api == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if (driverId < 0 || driverId > kLastDriverId) return Fail(ERROR_NOT_SUPPORTED);
    std::memset(api, 0, sizeof *api);
    api->driverId = driverId;
    api->functionCount = kTableFunctions;
    api->functions[kInitSlot] = reinterpret_cast<void*>(&UsbK_Init);
    api->functions[kFreeSlot] = reinterpret_cast<void*>(&UsbK_Free);
    api->functions[kControlTransferSlot] = reinterpret_cast<void*>(&UsbK_ControlTransfer);
    api->functions[kQueryPipeSlot] = reinterpret_cast<void*>(&UsbK_QueryPipe);
    return TRUE;
}

}  // extern "C"
