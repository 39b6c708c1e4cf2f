// Installing a test rig and listing it through the system device enumerator.
#include "tests/sim/win32/InstalledRig.h"

#include <cstring>

#include "platform/win32/ComValues.h"
#include "platform/win32/WideText.h"

namespace kv::sim::win32::test {

namespace {

std::optional<std::string> ReadText(IPropertyBag& bag, const wchar_t* name) {
    platform::win32::Variant var;
    if (bag.Read(name, var.get(), nullptr) != S_OK) return std::nullopt;
    const auto text = var.Text();
    if (!text) return std::nullopt;
    return platform::win32::Narrow(std::wstring(text->c_str()));
}

}  // namespace

HRESULT ListVideoInputs(std::vector<ListedDevice>& devices) {
    devices.clear();
    ComPtr<ICreateDevEnum> factory;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
    if (FAILED(hr)) return hr;
    ComPtr<IEnumMoniker> monikers;
    hr = factory->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0);
    if (hr != S_OK) return hr;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        ListedDevice device;
        ComPtr<IPropertyBag> bag;
        if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)))) {
            device.friendlyName = ReadText(*bag.Get(), L"FriendlyName");
            device.devicePath = ReadText(*bag.Get(), L"DevicePath");
        }
        device.moniker = moniker;
        devices.push_back(device);
    }
    return hr;
}

HRESULT BindFilter(const ListedDevice& device, ComPtr<IBaseFilter>& filter) {
    return device.moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(filter.ReleaseAndGetAddressOf()));
}

InstalledRig::InstalledRig(const std::string& rigText) { Reinstall(rigText); }

bool InstalledRig::Reinstall(const std::string& rigText) {
    static int count = 0;
    rig = scratch.Write("rig" + std::to_string(count++) + ".json", rigText);
    variable.reset();
    variable.emplace(rig);
    const auto loaded = Rig::Load(rig, error);
    installed = loaded && InstallRig(*loaded, InstallOptions{BuildProduct(KV_TEST_KVSIMCAM)}, report, error);
    return installed;
}

}  // namespace kv::sim::win32::test
