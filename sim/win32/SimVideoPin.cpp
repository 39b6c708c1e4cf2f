// The simulated output pins: connection, media types, stream
// configuration and pin category.
#include "sim/win32/SimVideoPin.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace kv::sim::win32 {

using Microsoft::WRL::ComPtr;

SimVideoPin::SimVideoPin(IBaseFilter& filter, Kind kind, std::vector<FrameSize> sizes)
    : filter_(filter), kind_(kind), sizes_(std::move(sizes)) {}

SimVideoPin::~SimVideoPin() { Deactivate(); }

HRESULT SimVideoPin::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPin) {
        *out = static_cast<IPin*>(this);
    } else if (iid == IID_IAMStreamConfig) {
        *out = static_cast<IAMStreamConfig*>(this);
    } else if (iid == IID_IKsPropertySet) {
        *out = static_cast<IKsPropertySet*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT SimVideoPin::Connect(IPin* receiver, const AM_MEDIA_TYPE* type) {
    if (receiver == nullptr) return E_POINTER;
    std::size_t preferred = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (connected_) return VFW_E_ALREADY_CONNECTED;
        if (active_) return VFW_E_NOT_STOPPED;
        preferred = current_;
    }
    if (type != nullptr) {
        const auto index = MatchVideoType(*type, sizes_, preferred);
        return index ? TryConnection(receiver, *index) : VFW_E_TYPE_NOT_ACCEPTED;
    }
    // The size chosen through IAMStreamConfig first, then the others.
    if (SUCCEEDED(TryConnection(receiver, preferred))) return S_OK;
    for (std::size_t i = 0; i < sizes_.size(); ++i) {
        if (i != preferred && SUCCEEDED(TryConnection(receiver, i))) return S_OK;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT SimVideoPin::TryConnection(IPin* receiver, std::size_t sizeIndex) {
    VIDEOINFOHEADER storage;
    const AM_MEDIA_TYPE type = BorrowedVideoType(sizes_[sizeIndex], storage);
    HRESULT hr = receiver->ReceiveConnection(this, &type);
    if (FAILED(hr)) return hr;
    ComPtr<IMemInputPin> input;
    ComPtr<IMemAllocator> allocator;
    hr = receiver->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(input.GetAddressOf()));
    if (SUCCEEDED(hr)) hr = DecideAllocator(*input.Get(), sizes_[sizeIndex], allocator);
    if (FAILED(hr)) {
        receiver->Disconnect();
        return hr;
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    connected_ = receiver;
    input_ = input;
    allocator_ = allocator;
    current_ = sizeIndex;
    return S_OK;
}

// The downstream pin's allocator when it has one, else the platform's
// memory allocator, with room for two whole frames.
HRESULT SimVideoPin::DecideAllocator(IMemInputPin& input, FrameSize size, ComPtr<IMemAllocator>& allocator) {
    ALLOCATOR_PROPERTIES wanted{};
    input.GetAllocatorRequirements(&wanted);
    if (FAILED(input.GetAllocator(&allocator)) || !allocator) {
        const HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                            reinterpret_cast<void**>(allocator.ReleaseAndGetAddressOf()));
        if (FAILED(hr)) return hr;
    }
    wanted.cBuffers = std::max<long>(wanted.cBuffers, 2);
    wanted.cbBuffer = std::max<long>(wanted.cbBuffer, FrameBytes(size));
    wanted.cbAlign = std::max<long>(wanted.cbAlign, 1);
    ALLOCATOR_PROPERTIES actual{};
    HRESULT hr = allocator->SetProperties(&wanted, &actual);
    if (SUCCEEDED(hr) && actual.cbBuffer < FrameBytes(size)) hr = E_FAIL;
    if (SUCCEEDED(hr)) hr = input.NotifyAllocator(allocator.Get(), FALSE);
    return hr;
}

HRESULT SimVideoPin::Disconnect() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (active_) return VFW_E_NOT_STOPPED;
    if (!connected_) return S_FALSE;
    connected_.Reset();
    input_.Reset();
    allocator_.Reset();
    return S_OK;
}

HRESULT SimVideoPin::ConnectedTo(IPin** pin) {
    if (pin == nullptr) return E_POINTER;
    const std::lock_guard<std::mutex> lock(mutex_);
    ComPtr<IPin> copy = connected_;
    *pin = copy.Detach();
    return *pin != nullptr ? S_OK : VFW_E_NOT_CONNECTED;
}

HRESULT SimVideoPin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (type == nullptr) return E_POINTER;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!connected_) {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return CopyVideoType(sizes_[current_], *type);
}

HRESULT SimVideoPin::QueryPinInfo(PIN_INFO* info) {
    if (info == nullptr) return E_POINTER;
    info->pFilter = &filter_;
    filter_.AddRef();
    info->dir = PINDIR_OUTPUT;
    std::wcsncpy(info->achName, Name(), std::size(info->achName) - 1);
    info->achName[std::size(info->achName) - 1] = L'\0';
    return S_OK;
}

HRESULT SimVideoPin::QueryDirection(PIN_DIRECTION* direction) {
    if (direction == nullptr) return E_POINTER;
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

HRESULT SimVideoPin::QueryId(LPWSTR* id) {
    if (id == nullptr) return E_POINTER;
    const std::size_t bytes = (std::wcslen(Name()) + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (*id == nullptr) return E_OUTOFMEMORY;
    std::memcpy(*id, Name(), bytes);
    return S_OK;
}

HRESULT SimVideoPin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (type == nullptr) return E_POINTER;
    return MatchVideoType(*type, sizes_, std::nullopt) ? S_OK : S_FALSE;
}

// The size in force first: a graph that connects with the first type it is
// offered then keeps the size a host chose through IAMStreamConfig.
HRESULT SimVideoPin::EnumMediaTypes(IEnumMediaTypes** types) {
    std::vector<FrameSize> ordered;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ordered.push_back(sizes_[current_]);
        for (std::size_t i = 0; i < sizes_.size(); ++i) {
            if (i != current_) ordered.push_back(sizes_[i]);
        }
    }
    return CreateMediaTypeEnumerator(ordered, types);
}

HRESULT SimVideoPin::SetFormat(AM_MEDIA_TYPE* type) {
    if (type == nullptr) return E_POINTER;
    const auto index = MatchVideoType(*type, sizes_, std::nullopt);
    if (!index) return VFW_E_INVALIDMEDIATYPE;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (connected_ && *index != current_) return VFW_E_ALREADY_CONNECTED;
    current_ = *index;
    return S_OK;
}

HRESULT SimVideoPin::GetFormat(AM_MEDIA_TYPE** type) {
    if (type == nullptr) return E_POINTER;
    const std::lock_guard<std::mutex> lock(mutex_);
    *type = AllocateVideoType(sizes_[current_]);
    return *type != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT SimVideoPin::GetNumberOfCapabilities(int* count, int* size) {
    if (count == nullptr || size == nullptr) return E_POINTER;
    *count = static_cast<int>(sizes_.size());
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

HRESULT SimVideoPin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) {
    if (type == nullptr || caps == nullptr) return E_POINTER;
    if (index < 0 || static_cast<std::size_t>(index) >= sizes_.size()) return S_FALSE;
    const FrameSize size = sizes_[static_cast<std::size_t>(index)];
    *type = AllocateVideoType(size);
    if (*type == nullptr) return E_OUTOFMEMORY;
    VIDEO_STREAM_CONFIG_CAPS config{};
    config.guid = FORMAT_VideoInfo;
    config.InputSize = {size.width, size.height};
    config.MinCroppingSize = config.MaxCroppingSize = config.InputSize;
    config.MinOutputSize = config.MaxOutputSize = config.InputSize;
    config.CropGranularityX = config.CropGranularityY = 1;
    config.OutputGranularityX = config.OutputGranularityY = 1;
    config.MinFrameInterval = config.MaxFrameInterval = video::kFrameTime;
    config.MinBitsPerSecond = config.MaxBitsPerSecond = FrameBytes(size) * 8 * 30;
    std::memcpy(caps, &config, sizeof config);
    return S_OK;
}

HRESULT SimVideoPin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataLength, DWORD* bytesReturned) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (data == nullptr) return E_POINTER;
    if (dataLength < sizeof(GUID)) return E_UNEXPECTED;
    *static_cast<GUID*>(data) = kind_ == Kind::Capture ? PIN_CATEGORY_CAPTURE : PIN_CATEGORY_STILL;
    if (bytesReturned != nullptr) *bytesReturned = sizeof(GUID);
    return S_OK;
}

HRESULT SimVideoPin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (support != nullptr) *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

}  // namespace kv::sim::win32
