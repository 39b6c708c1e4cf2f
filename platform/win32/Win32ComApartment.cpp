// COM apartment port on Windows: the calling thread's single-threaded
// apartment.
#include <windows.h>
#include <objbase.h>

#include "platform/win32/Win32Adapters.h"

namespace kv::platform::win32 {

HResult Win32ComApartment::Initialize() { return CoInitialize(nullptr); }

void Win32ComApartment::Uninitialize() { CoUninitialize(); }

}  // namespace kv::platform::win32
