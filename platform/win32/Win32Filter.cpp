// The capture-filter side of the capture-devices port on Windows: one small
// adapter class per COM interface.
#include "platform/win32/Win32Filter.h"

#include <cstring>

#include <amvideo.h>
#include <ocidl.h>
#include <olectl.h>

#include "platform/win32/KsInterfaces.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

namespace {

using Microsoft::WRL::ComPtr;

class Win32KsControl : public KsControl {
public:
    explicit Win32KsControl(ComPtr<win::IKsControl> control) : m_control(std::move(control)) {}
    HResult KsProperty(const void* property, std::uint32_t propertyLength, void* data, std::uint32_t dataLength,
                       std::uint32_t* bytesReturned) override {
        ULONG returned = 0;
        const HRESULT hr =
            m_control->KsProperty(const_cast<void*>(property), propertyLength, data, dataLength, &returned);
        if (bytesReturned) *bytesReturned = returned;
        return hr;
    }

private:
    ComPtr<win::IKsControl> m_control;
};

class Win32KsPropertySet : public KsPropertySet {
public:
    explicit Win32KsPropertySet(ComPtr<IKsPropertySet> set) : m_set(std::move(set)) {}
    HResult Set(const Guid& set, std::uint32_t id, const void* instanceData, std::uint32_t instanceLength,
                const void* propertyData, std::uint32_t dataLength) override {
        return m_set->Set(ToWin32Guid(set), id, const_cast<void*>(instanceData), instanceLength,
                          const_cast<void*>(propertyData), dataLength);
    }

private:
    ComPtr<IKsPropertySet> m_set;
};

class Win32ExtensionUnit : public ExtensionUnit {
public:
    explicit Win32ExtensionUnit(ComPtr<win::IExtensionUnit> unit) : m_unit(std::move(unit)) {}
    HResult get_InfoSize(std::uint32_t* size) override {
        return Sized(size, [&](ULONG* s) { return m_unit->get_InfoSize(s); });
    }
    HResult get_Info(std::uint32_t size, std::uint8_t* info) override { return m_unit->get_Info(size, info); }
    HResult get_PropertySize(std::uint32_t id, std::uint32_t* size) override {
        return Sized(size, [&](ULONG* s) { return m_unit->get_PropertySize(id, s); });
    }
    HResult get_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) override {
        return m_unit->get_Property(id, size, value);
    }
    HResult put_Property(std::uint32_t id, std::uint32_t size, std::uint8_t* value) override {
        return m_unit->put_Property(id, size, value);
    }
    HResult is_Ready(std::uint32_t* ready) override {
        return Sized(ready, [&](ULONG* r) { return m_unit->is_Ready(r); });
    }
    HResult SwitchHandle(std::uint32_t deviceNumber) override { return m_unit->SwitchHandle(deviceNumber); }
    HResult end() override { return m_unit->end(); }

private:
    // ULONG is 32 bits on Windows; a null out-pointer goes through as null.
    template <class Call>
    static HResult Sized(std::uint32_t* out, Call call) {
        ULONG value = out ? *out : 0;
        const HRESULT hr = call(out ? &value : nullptr);
        if (out) *out = value;
        return hr;
    }

    ComPtr<win::IExtensionUnit> m_unit;
};

class Win32NodeInstance : public NodeInstance {
public:
    explicit Win32NodeInstance(ComPtr<IUnknown> instance) : m_instance(std::move(instance)) {}
    HResult QueryExtensionUnit(std::shared_ptr<ExtensionUnit>& unit) override {
        ComPtr<win::IExtensionUnit> raw;
        const HRESULT hr =
            m_instance->QueryInterface(win::kIID_IExtensionUnit, reinterpret_cast<void**>(raw.GetAddressOf()));
        if (SUCCEEDED(hr) && raw) unit = MakeWin32ExtensionUnit(raw);
        return hr;
    }

private:
    ComPtr<IUnknown> m_instance;
};

class Win32KsTopologyInfo : public KsTopologyInfo {
public:
    explicit Win32KsTopologyInfo(ComPtr<win::IKsTopologyInfo> info) : m_info(std::move(info)) {}
    HResult NumNodes(std::uint32_t& count) override {
        DWORD nodes = 0;
        const HRESULT hr = m_info->get_NumNodes(&nodes);
        count = nodes;
        return hr;
    }
    HResult NodeType(std::uint32_t node, Guid& type) override {
        GUID raw{};
        const HRESULT hr = m_info->get_NodeType(node, &raw);
        type = FromWin32Guid(raw);
        return hr;
    }
    HResult CreateNodeInstance(std::uint32_t node, const Guid& iid, std::shared_ptr<NodeInstance>& instance) override {
        const GUID wanted = ToWin32Guid(iid);
        ComPtr<IUnknown> raw;
        const HRESULT hr = m_info->CreateNodeInstance(node, wanted, reinterpret_cast<void**>(raw.GetAddressOf()));
        if (SUCCEEDED(hr) && raw) instance = std::make_shared<Win32NodeInstance>(raw);
        return hr;
    }

private:
    ComPtr<win::IKsTopologyInfo> m_info;
};

// IAMVideoProcAmp and IAMCameraControl share their method shapes.
template <class Interface>
class Win32RangedProperties : public RangedProperties {
public:
    explicit Win32RangedProperties(ComPtr<Interface> properties) : m_properties(std::move(properties)) {}
    HResult GetRange(std::int32_t property, std::int32_t& minimum, std::int32_t& maximum, std::int32_t& step,
                     std::int32_t& defaultValue, std::int32_t& flags) override {
        long values[5] = {};
        const HRESULT hr = m_properties->GetRange(property, &values[0], &values[1], &values[2], &values[3], &values[4]);
        minimum = values[0];
        maximum = values[1];
        step = values[2];
        defaultValue = values[3];
        flags = values[4];
        return hr;
    }
    HResult Get(std::int32_t property, std::int32_t& value, std::int32_t& flags) override {
        long current = 0;
        long currentFlags = 0;
        const HRESULT hr = m_properties->Get(property, &current, &currentFlags);
        value = current;
        flags = currentFlags;
        return hr;
    }
    HResult Set(std::int32_t property, std::int32_t value, std::int32_t flags) override {
        return m_properties->Set(property, value, flags);
    }

private:
    ComPtr<Interface> m_properties;
};

template <class Interface, class Adapter, class Port>
HResult Query(IBaseFilter* filter, REFIID iid, std::shared_ptr<Port>& out) {
    ComPtr<Interface> raw;
    const HRESULT hr = filter->QueryInterface(iid, reinterpret_cast<void**>(raw.GetAddressOf()));
    if (SUCCEEDED(hr) && raw) out = std::make_shared<Adapter>(raw);
    return hr;
}

class Win32VideoControl : public VideoControl {
public:
    explicit Win32VideoControl(ComPtr<IAMVideoControl> control) : m_control(std::move(control)) {}
    HResult SetMode(CapturePin& pin, std::int32_t mode) override {
        auto* ours = dynamic_cast<Win32CapturePin*>(&pin);
        return ours ? m_control->SetMode(ours->Raw(), mode) : E_INVALIDARG;
    }

private:
    ComPtr<IAMVideoControl> m_control;
};

class Win32QualProp : public QualProp {
public:
    explicit Win32QualProp(ComPtr<IQualProp> quality) : m_quality(std::move(quality)) {}
    HResult get_AvgFrameRate(std::int32_t& rate) override {
        int value = 0;
        const HRESULT hr = m_quality->get_AvgFrameRate(&value);
        if (SUCCEEDED(hr)) rate = value;
        return hr;
    }

private:
    ComPtr<IQualProp> m_quality;
};

class Win32Filter : public Filter {
public:
    explicit Win32Filter(ComPtr<IBaseFilter> filter) : m_filter(std::move(filter)) {}
    HResult QueryKsControl(std::shared_ptr<KsControl>& control) override {
        return Query<win::IKsControl, Win32KsControl>(m_filter.Get(), win::kIID_IKsControl, control);
    }
    HResult QueryKsPropertySet(std::shared_ptr<KsPropertySet>& propertySet) override {
        return Query<IKsPropertySet, Win32KsPropertySet>(m_filter.Get(), IID_IKsPropertySet, propertySet);
    }
    HResult QueryKsTopologyInfo(std::shared_ptr<KsTopologyInfo>& topology) override {
        return Query<win::IKsTopologyInfo, Win32KsTopologyInfo>(m_filter.Get(), win::kIID_IKsTopologyInfo, topology);
    }
    HResult QueryVideoProcAmp(std::shared_ptr<RangedProperties>& procAmp) override {
        return Query<IAMVideoProcAmp, Win32RangedProperties<IAMVideoProcAmp>>(m_filter.Get(), IID_IAMVideoProcAmp,
                                                                              procAmp);
    }
    HResult QueryCameraControl(std::shared_ptr<RangedProperties>& cameraControl) override {
        return Query<IAMCameraControl, Win32RangedProperties<IAMCameraControl>>(m_filter.Get(), IID_IAMCameraControl,
                                                                                cameraControl);
    }
    HResult QueryVideoControl(std::shared_ptr<VideoControl>& videoControl) override {
        return Query<IAMVideoControl, Win32VideoControl>(m_filter.Get(), IID_IAMVideoControl, videoControl);
    }
    HResult QueryQualProp(std::shared_ptr<QualProp>& qualProp) override {
        return Query<IQualProp, Win32QualProp>(m_filter.Get(), IID_IQualProp, qualProp);
    }
    HResult ShowPropertyPages(void* parentWindow, const std::string& title) override {
        ComPtr<ISpecifyPropertyPages> pages;
        HRESULT hr = m_filter.As(&pages);
        if (FAILED(hr)) return hr;
        CAUUID ids{};
        hr = pages->GetPages(&ids);
        if (FAILED(hr)) return hr;
        IUnknown* object = m_filter.Get();
        hr = OleCreatePropertyFrame(static_cast<HWND>(parentWindow), 0, 0, Widen(title).c_str(), 1, &object, ids.cElems,
                                    ids.pElems, 0, 0, nullptr);
        CoTaskMemFree(ids.pElems);
        return hr;
    }
    IBaseFilter* Raw() const { return m_filter.Get(); }

private:
    ComPtr<IBaseFilter> m_filter;
};

}  // namespace

std::shared_ptr<Filter> MakeWin32Filter(ComPtr<IBaseFilter> filter) {
    return std::make_shared<Win32Filter>(std::move(filter));
}

IBaseFilter* Win32BaseFilterOf(Filter& filter) {
    auto* ours = dynamic_cast<Win32Filter*>(&filter);
    return ours ? ours->Raw() : nullptr;
}

std::shared_ptr<ExtensionUnit> MakeWin32ExtensionUnit(ComPtr<win::IExtensionUnit> unit) {
    return std::make_shared<Win32ExtensionUnit>(std::move(unit));
}

GUID ToWin32Guid(const Guid& guid) {
    GUID raw{};
    const auto bytes = guid.ToBytes();
    std::memcpy(&raw, bytes.data(), sizeof raw);
    return raw;
}

Guid FromWin32Guid(const GUID& guid) {
    std::uint8_t bytes[16];
    std::memcpy(bytes, &guid, sizeof bytes);
    return Guid::FromBytes(bytes);
}

}  // namespace kv::platform::win32
