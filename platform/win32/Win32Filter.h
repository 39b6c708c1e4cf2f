// The capture-filter side of the capture-devices port on Windows.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "platform/CaptureDevices.h"

namespace kv::platform::win32 {

// Wraps a bound IBaseFilter; each query is a QueryInterface on it.
std::shared_ptr<Filter> MakeWin32Filter(Microsoft::WRL::ComPtr<IBaseFilter> filter);

GUID ToWin32Guid(const Guid& guid);
Guid FromWin32Guid(const GUID& guid);

}  // namespace kv::platform::win32
