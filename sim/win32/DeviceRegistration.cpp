// Registering rig devices in the video-input category through the filter
// mapper, and writing what the device's property bag shows.
#include "sim/win32/DeviceRegistration.h"

#include <wrl/client.h>

#include <cwchar>

#include "platform/win32/ComValues.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Adapters.h"
#include "sim/win32/ErrorText.h"
#include "sim/win32/SimIds.h"

namespace kv::sim::win32 {

namespace {

using Microsoft::WRL::ComPtr;

HRESULT WriteString(IPropertyBag& bag, const wchar_t* name, const std::string& value) {
    platform::win32::Variant var;
    return var.SetText(platform::win32::Widen(value)) ? bag.Write(name, var.get()) : E_OUTOFMEMORY;
}

HRESULT WriteIndex(IPropertyBag& bag, std::size_t index) {
    platform::win32::Variant var;
    var.SetLong(static_cast<LONG>(index));
    return bag.Write(kDeviceIndexProperty, var.get());
}

// The mapper always writes a friendly name; a device without one loses it
// afterwards, straight from its instance key.
bool DropFriendlyName(std::size_t index, std::string& error) {
    platform::win32::Win32Registry registry;
    std::unique_ptr<platform::RegistryKey> key;
    long status = registry.OpenKey(platform::RegistryRoot::ClassesRoot,
                                   std::wstring(kVideoInputInstancesKey) + L"\\" + InstanceName(index),
                                   platform::RegistryAccess::ReadWrite, key);
    if (status == ERROR_SUCCESS) status = key->DeleteValue(L"FriendlyName");
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        error = WithWin32Error("cannot remove the friendly name of " + platform::win32::Narrow(InstanceName(index)),
                               status);
        return false;
    }
    return true;
}

}  // namespace

std::wstring InstanceName(std::size_t index) {
    wchar_t number[16];
    std::swprintf(number, std::size(number), L"%03u", static_cast<unsigned>(index));
    return kInstancePrefix + std::wstring(number);
}

bool RegisterDevice(IFilterMapper2& mapper, std::size_t index, const DeviceListing& listing, std::string& error) {
    REGFILTER2 filter{};
    filter.dwVersion = 1;
    filter.dwMerit = MERIT_DO_NOT_USE;
    const std::wstring name = platform::win32::Widen(listing.friendlyName.value_or("kvsim device"));
    const std::wstring instance = InstanceName(index);
    ComPtr<IMoniker> moniker;
    HRESULT hr = mapper.RegisterFilter(kClsidSimCamera, name.c_str(), moniker.GetAddressOf(),
                                       &CLSID_VideoInputDeviceCategory, instance.c_str(), &filter);
    ComPtr<IPropertyBag> bag;
    if (SUCCEEDED(hr)) hr = moniker ? moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)) : E_POINTER;
    if (SUCCEEDED(hr)) hr = WriteIndex(*bag.Get(), index);
    if (SUCCEEDED(hr) && listing.devicePath) hr = WriteString(*bag.Get(), L"DevicePath", *listing.devicePath);
    if (FAILED(hr)) {
        error = WithHResult("cannot register rig device " + std::to_string(index), hr);
        return false;
    }
    return listing.friendlyName || DropFriendlyName(index, error);
}

bool RemoveDevices(IFilterMapper2& mapper, std::size_t& removed, std::string& error) {
    removed = 0;
    platform::win32::Win32Registry registry;
    std::unique_ptr<platform::RegistryKey> instances;
    if (registry.OpenKey(platform::RegistryRoot::ClassesRoot, kVideoInputInstancesKey, platform::RegistryAccess::Read,
                         instances) != ERROR_SUCCESS) {
        return true;
    }
    const std::wstring prefix = kInstancePrefix;
    for (const std::wstring& instance : instances->SubkeyNames()) {
        if (instance.compare(0, prefix.size(), prefix) != 0) continue;
        const HRESULT hr = mapper.UnregisterFilter(&CLSID_VideoInputDeviceCategory, instance.c_str(), kClsidSimCamera);
        if (FAILED(hr)) {
            error = WithHResult("cannot remove " + platform::win32::Narrow(instance), hr);
            return false;
        }
        ++removed;
    }
    return true;
}

}  // namespace kv::sim::win32
