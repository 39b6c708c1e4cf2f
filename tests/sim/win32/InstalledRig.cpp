// Installing a test rig and listing it through the system device enumerator.
#include "tests/sim/win32/InstalledRig.h"

#include <cstring>

namespace kv::sim::win32::test {

namespace {

std::optional<std::string> ReadText(IPropertyBag& bag, const wchar_t* name) {
    VARIANT var;
    VariantInit(&var);
    var.vt = VT_BSTR;
    std::optional<std::string> text;
    if (bag.Read(name, &var, nullptr) == S_OK && var.vt == VT_BSTR) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, var.bstrVal, -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, var.bstrVal, -1, utf8.data(), size, nullptr, nullptr);
        utf8.resize(std::strlen(utf8.c_str()));
        text = utf8;
    }
    VariantClear(&var);
    return text;
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
