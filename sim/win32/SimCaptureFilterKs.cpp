// The simulated filter's kernel-streaming property interfaces: IKsControl
// requests and IKsPropertySet calls go to the rig device unchanged.
#include <cstdint>
#include <cstring>
#include <span>

#include "sim/win32/SimCaptureFilter.h"
#include "sim/win32/WinGuid.h"
#include "wire/KsProperty.h"

namespace kv::sim::win32 {

namespace {

std::span<std::uint8_t> Bytes(void* data, ULONG length) {
    return data != nullptr ? std::span<std::uint8_t>(static_cast<std::uint8_t*>(data), length)
                           : std::span<std::uint8_t>();
}

}  // namespace

HRESULT SimCaptureFilter::KsProperty(void* property, ULONG propertyLength, void* data, ULONG dataLength,
                                     ULONG* bytesReturned) {
    if (property == nullptr || (data == nullptr && dataLength != 0)) return E_POINTER;
    ULONG returned = 0;
    const std::span<const std::uint8_t> header = Bytes(property, propertyLength);
    const HRESULT hr = binding_.Ask(
        [&](Session& s, std::size_t d) { return s.KsProperty(d, header, Bytes(data, dataLength)); }, &returned);
    if (bytesReturned != nullptr) *bytesReturned = returned;
    return hr;
}

// The cameras answer no kernel-streaming methods or events; a driver reports
// that as an unknown set.
HRESULT SimCaptureFilter::KsMethod(void* method, ULONG, void*, ULONG, ULONG* bytesReturned) {
    if (bytesReturned != nullptr) *bytesReturned = 0;
    if (method == nullptr) return E_POINTER;
    return static_cast<HRESULT>(wire::kHrSetNotFound);
}

HRESULT SimCaptureFilter::KsEvent(void* event, ULONG, void*, ULONG, ULONG* bytesReturned) {
    if (bytesReturned != nullptr) *bytesReturned = 0;
    // No event structure means "disable every event": there are none to disable.
    return event == nullptr ? S_OK : static_cast<HRESULT>(wire::kHrSetNotFound);
}

HRESULT SimCaptureFilter::Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                              DWORD dataLength) {
    if ((instance == nullptr && instanceLength != 0) || (data == nullptr && dataLength != 0)) return E_POINTER;
    const platform::Guid guid = FromWinGuid(set);
    return binding_.Ask([&](Session& s, std::size_t d) {
        return s.PropertySetSet(d, guid, id, Bytes(instance, instanceLength), Bytes(data, dataLength));
    });
}

HRESULT SimCaptureFilter::Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                              DWORD dataLength, DWORD* bytesReturned) {
    if ((instance == nullptr && instanceLength != 0) || (data == nullptr && dataLength != 0)) return E_POINTER;
    if (bytesReturned == nullptr) return E_POINTER;
    const platform::Guid guid = FromWinGuid(set);
    ULONG returned = 0;
    const HRESULT hr = binding_.Ask(
        [&](Session& s, std::size_t d) {
            return s.PropertySetGet(d, guid, id, Bytes(instance, instanceLength), Bytes(data, dataLength));
        },
        &returned);
    *bytesReturned = returned;
    return hr;
}

HRESULT SimCaptureFilter::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (support == nullptr) return E_POINTER;
    const platform::Guid guid = FromWinGuid(set);
    std::uint32_t answered = 0;
    const HRESULT hr =
        binding_.Ask([&](Session& s, std::size_t d) { return s.PropertySetQuerySupported(d, guid, id, answered); });
    *support = SUCCEEDED(hr) ? answered : 0;
    return hr;
}

}  // namespace kv::sim::win32
