// Stand-in libusbK.dll: device handles that nobody freed. A real driver
// keeps a handle's device claimed until it is freed, so a program that
// forgets one leaks it for as long as it runs; the stand-in says so when it
// is unloaded (at the latest when the process ends), and tests ask it.
#include <windows.h>

#include <cstdio>

#include "sim/win32/UsbKHandles.h"

namespace {

void ReportOpenDevices() {
    const std::size_t open = kv::sim::win32::usbk::OpenDeviceCount();
    if (open == 0) return;
    char line[96];
    const int length =
        std::snprintf(line, sizeof line, "libusbK.dll: %u device handle(s) left open\n", static_cast<unsigned>(open));
    DWORD written = 0;
    // The C runtime's streams may be gone this late; the handle is not.
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(length), &written, nullptr);
}

}  // namespace

extern "C" {

// For tests: how many device handles are open in this process.
UINT WINAPI KvSim_OpenDeviceHandles() { return static_cast<UINT>(kv::sim::win32::usbk::OpenDeviceCount()); }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) ReportOpenDevices();
    return TRUE;
}

}  // extern "C"
