// The USB library's published structures (layouts fixed by the library;
// offsets as on x86, which has no pointer in these structures and so matches
// x64 too): what the direct-USB adapter reads and the simulator's stand-in
// library fills.
#pragma once

#include <windows.h>

#include <cstddef>

namespace kv::platform::win32::usbk {

#pragma pack(push, 1)
struct SetupPacket {
    UCHAR requestType;
    UCHAR request;
    USHORT value;
    USHORT index;
    USHORT length;
};
#pragma pack(pop)
static_assert(sizeof(SetupPacket) == 8);

struct DeviceInfo {
    int vid;
    int pid;
    int mi;
    char instanceId[256];
    int driverId;
    char deviceInterfaceGuid[256];
    char deviceId[256];
    char classGuid[256];
    char mfg[256];
    char deviceDesc[256];
    char service[256];
    char symbolicLink[256];
    char devicePath[256];
    int lusb0FilterIndex;
    BOOL connected;
    int syncFlags;
    int busNumber;
    int deviceAddress;
    char serialNumber[256];
};
static_assert(offsetof(DeviceInfo, instanceId) == 12 && offsetof(DeviceInfo, driverId) == 268 &&
              offsetof(DeviceInfo, deviceInterfaceGuid) == 272 && offsetof(DeviceInfo, deviceId) == 528 &&
              offsetof(DeviceInfo, classGuid) == 784 && offsetof(DeviceInfo, lusb0FilterIndex) == 2320 &&
              offsetof(DeviceInfo, serialNumber) == 2340);

struct PipeInformation {
    int pipeType;
    UCHAR pipeId;
    USHORT maximumPacketSize;
    UCHAR interval;
};
static_assert(sizeof(PipeInformation) == 12);

// A fixed 512-byte table: the driver id, the number of functions, then the
// functions in the library's order (slot 0 Init, 1 Free, 7 ControlTransfer,
// 21 QueryPipe, ...); the rest of the 512 bytes is reserved.
struct DriverApi {
    int driverId;
    int functionCount;
    void* functions[(512 - 2 * sizeof(int)) / sizeof(void*)];
};
static_assert(sizeof(DriverApi) == 512 && offsetof(DriverApi, functions) == 8);

constexpr std::size_t kInitSlot = 0;
constexpr std::size_t kFreeSlot = 1;
constexpr std::size_t kControlTransferSlot = 7;
constexpr std::size_t kQueryPipeSlot = 21;

}  // namespace kv::platform::win32::usbk
