// Stand-in libusbK.dll, device list: one entry per rig device that the USB
// library drives, in the rig's order.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sim/win32/StandInRig.h"
#include "sim/win32/UsbKHandles.h"

namespace {

using namespace kv::sim::win32::usbk;

template <std::size_t N>
void CopyText(char (&field)[N], const std::string& text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

// The interface number of a composite device's "&MI_xx"; -1 for none.
int InterfaceNumber(const std::string& deviceId) {
    std::string upper = deviceId;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    const std::size_t at = upper.find("&MI_");
    if (at == std::string::npos || at + 6 > upper.size()) return -1;
    char* end = nullptr;
    const std::string digits = upper.substr(at + 4, 2);
    const long number = std::strtol(digits.c_str(), &end, 16);
    return end == digits.c_str() + 2 ? static_cast<int>(number) : -1;
}

DeviceInfo MakeEntry(const kv::sim::RigDevice& rigDevice, std::size_t position) {
    DeviceInfo info{};
    const std::string& deviceId = rigDevice.listing.usbInstanceId;
    const std::size_t slash = deviceId.find_last_of('\\');
    info.vid = rigDevice.config.vendorId;
    info.pid = rigDevice.config.productId;
    info.mi = InterfaceNumber(deviceId);
    CopyText(info.instanceId, slash == std::string::npos ? deviceId : deviceId.substr(slash + 1));
    info.driverId = rigDevice.listing.usbDriverId;
    CopyText(info.deviceId, deviceId);
    CopyText(info.deviceDesc, rigDevice.listing.friendlyName.value_or(""));
    CopyText(info.service, "libusbK");
    info.connected = TRUE;
    info.busNumber = 1;
    info.deviceAddress = static_cast<int>(position) + 1;
    return info;
}

std::unique_ptr<DeviceList> BuildList(std::shared_ptr<const kv::sim::Rig> rig) {
    auto list = std::make_unique<DeviceList>();
    for (const int device : rig->DirectUsbDevices()) list->devices.push_back(static_cast<std::size_t>(device));
    list->entries.reserve(list->devices.size());
    for (std::size_t i = 0; i < list->devices.size(); ++i)
        list->entries.push_back(MakeEntry(rig->Device(list->devices[i]), i));
    list->rig = std::move(rig);
    return list;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

extern "C" {

BOOL WINAPI LstK_Init(void** deviceList, int /*flags*/) {
    if (deviceList == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    *deviceList = nullptr;
    auto rig = kv::sim::win32::CurrentRig();
    if (!rig) return Fail(ERROR_FILE_NOT_FOUND);
    *deviceList = AddList(BuildList(std::move(rig)));
    return TRUE;
}

BOOL WINAPI LstK_Count(void* deviceList, UINT* count) {
    if (count == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    const bool known = WithList(deviceList, [&](DeviceList& list) { *count = static_cast<UINT>(list.entries.size()); });
    return known ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

BOOL WINAPI LstK_FindByVidPid(void* deviceList, int vid, int pid, DeviceInfo** deviceInfo) {
    if (deviceInfo == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    *deviceInfo = nullptr;
    const bool known = WithList(deviceList, [&](DeviceList& list) {
        for (std::size_t i = 0; i < list.entries.size(); ++i) {
            if (list.entries[i].vid == vid && list.entries[i].pid == pid) {
                *deviceInfo = &list.entries[i];
                list.next = i + 1;
                return;
            }
        }
    });
    if (!known) return Fail(ERROR_INVALID_HANDLE);
    return *deviceInfo != nullptr ? TRUE : Fail(ERROR_NO_MORE_ITEMS);
}

BOOL WINAPI LstK_MoveNext(void* deviceList, DeviceInfo** deviceInfo) {
    DeviceInfo* found = nullptr;
    const bool known = WithList(deviceList, [&](DeviceList& list) {
        if (list.next < list.entries.size()) found = &list.entries[list.next++];
    });
    if (deviceInfo != nullptr) *deviceInfo = found;
    if (!known) return Fail(ERROR_INVALID_HANDLE);
    return found != nullptr ? TRUE : Fail(ERROR_NO_MORE_ITEMS);
}

BOOL WINAPI LstK_Free(void* deviceList) { return FreeList(deviceList) ? TRUE : Fail(ERROR_INVALID_HANDLE); }

}  // extern "C"
