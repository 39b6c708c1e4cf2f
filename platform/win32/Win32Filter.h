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
// The IBaseFilter behind a filter this adapter made; null for any other.
IBaseFilter* Win32BaseFilterOf(Filter& filter);

// An output pin of a capture filter.
class Win32CapturePin : public CapturePin {
public:
    explicit Win32CapturePin(Microsoft::WRL::ComPtr<IPin> pin) : m_pin(std::move(pin)) {}
    IPin* Raw() const { return m_pin.Get(); }

private:
    Microsoft::WRL::ComPtr<IPin> m_pin;
};

// The node plug-in's IExtensionUnit as the port's.
std::shared_ptr<ExtensionUnit> MakeWin32ExtensionUnit(Microsoft::WRL::ComPtr<win::IExtensionUnit> unit);

GUID ToWin32Guid(const Guid& guid);
Guid FromWin32Guid(const GUID& guid);

}  // namespace kv::platform::win32
