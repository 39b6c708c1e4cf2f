// Plug-in class port on Windows: CExtensionUnit created through its class
// registration.
#include <windows.h>
#include <wrl/client.h>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/Win32Filter.h"

namespace kv::platform::win32 {

HResult Win32ExtensionUnitFactory::CreateExtensionUnit(std::shared_ptr<ExtensionUnit>& unit) {
    Microsoft::WRL::ComPtr<win::IExtensionUnit> raw;
    const HRESULT hr =
        CoCreateInstance(win::kCLSID_ExtensionUnit, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                         win::kIID_IExtensionUnit, reinterpret_cast<void**>(raw.GetAddressOf()));
    if (SUCCEEDED(hr) && raw) unit = MakeWin32ExtensionUnit(raw);
    return hr;
}

}  // namespace kv::platform::win32
