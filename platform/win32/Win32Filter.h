// The capture-filter side of the capture-devices port on Windows.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "platform/CaptureDevices.h"
#include "platform/win32/KsInterfaces.h"

namespace kv::platform::win32 {

// Wraps a bound IBaseFilter; each query is a QueryInterface on it.
std::shared_ptr<Filter> MakeWin32Filter(Microsoft::WRL::ComPtr<IBaseFilter> filter);

// The node plug-in's IExtensionUnit as the port's.
std::shared_ptr<ExtensionUnit> MakeWin32ExtensionUnit(Microsoft::WRL::ComPtr<win::IExtensionUnit> unit);

GUID ToWin32Guid(const Guid& guid);
Guid FromWin32Guid(const GUID& guid);

}  // namespace kv::platform::win32
