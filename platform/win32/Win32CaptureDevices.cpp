// Capture-devices port on Windows: the DirectShow system device enumerator
// over the video-input category.
#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/Win32Filter.h"
#include "platform/win32/ComValues.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

namespace {

using Microsoft::WRL::ComPtr;

class Win32PropertyBag : public PropertyBag {
public:
    explicit Win32PropertyBag(ComPtr<IPropertyBag> bag) : m_bag(std::move(bag)) {}
    HResult Read(const std::string& name, std::string& value) override {
        // An empty variant asks for the value in its own type.
        Variant var;
        HRESULT hr = m_bag->Read(Widen(name).c_str(), var.get(), nullptr);
        const auto text = var.Text();
        if (SUCCEEDED(hr) && !text) hr = DISP_E_TYPEMISMATCH;
        if (SUCCEEDED(hr)) value = Narrow(*text);
        return hr;
    }

private:
    ComPtr<IPropertyBag> m_bag;
};

class Win32Moniker : public Moniker {
public:
    explicit Win32Moniker(ComPtr<IMoniker> moniker) : m_moniker(std::move(moniker)) {}
    HResult BindToStorage(std::unique_ptr<PropertyBag>& bag) override {
        ComPtr<IPropertyBag> raw;
        const HRESULT hr = m_moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, &raw);
        if (SUCCEEDED(hr) && raw) bag = std::make_unique<Win32PropertyBag>(raw);
        return hr;
    }
    HResult BindToObject(std::shared_ptr<Filter>& filter) override {
        ComPtr<IBaseFilter> raw;
        const HRESULT hr = m_moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, &raw);
        if (SUCCEEDED(hr) && raw) filter = MakeWin32Filter(raw);
        return hr;
    }

private:
    ComPtr<IMoniker> m_moniker;
};

class Win32MonikerEnumerator : public MonikerEnumerator {
public:
    explicit Win32MonikerEnumerator(ComPtr<IEnumMoniker> monikers) : m_monikers(std::move(monikers)) {}
    HResult Reset() override { return m_monikers->Reset(); }
    HResult Next(std::unique_ptr<Moniker>& moniker) override {
        ComPtr<IMoniker> raw;
        const HRESULT hr = m_monikers->Next(1, &raw, nullptr);
        if (hr == S_OK && raw) moniker = std::make_unique<Win32Moniker>(raw);
        return hr;
    }

private:
    ComPtr<IEnumMoniker> m_monikers;
};

class Win32DeviceEnumerator : public DeviceEnumerator {
public:
    explicit Win32DeviceEnumerator(ComPtr<ICreateDevEnum> factory) : m_factory(std::move(factory)) {}
    HResult CreateVideoInputEnumerator(std::unique_ptr<MonikerEnumerator>& enumerator) override {
        ComPtr<IEnumMoniker> raw;
        const HRESULT hr = m_factory->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &raw, 0);
        if (hr == S_OK && raw) enumerator = std::make_unique<Win32MonikerEnumerator>(raw);
        return hr;
    }

private:
    ComPtr<ICreateDevEnum> m_factory;
};

}  // namespace

HResult Win32CaptureDevices::CreateSystemDeviceEnumerator(std::unique_ptr<DeviceEnumerator>& enumerator) {
    ComPtr<ICreateDevEnum> factory;
    const HRESULT hr =
        CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, &factory);
    if (SUCCEEDED(hr) && factory) enumerator = std::make_unique<Win32DeviceEnumerator>(factory);
    return hr;
}

}  // namespace kv::platform::win32
