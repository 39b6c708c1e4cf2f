// KSP_NODE requests on the capture node's extension units.
#include "linux_uvc/UvcRequests.h"

#include <linux/usb/video.h>
#include <linux/uvcvideo.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "wire/KsProperty.h"

namespace kv::platform::linux_uvc {

namespace {

constexpr HResult kAccessDenied = static_cast<HResult>(0x80070005u);  // E_ACCESSDENIED

}  // namespace

std::vector<ExtensionUnitDescriptor> UnitsOfInterface(std::span<const std::uint8_t> descriptors,
                                                      std::uint8_t interfaceNumber) {
    std::vector<ExtensionUnitDescriptor> units;
    for (const auto& unit : ReadExtensionUnits(descriptors)) {
        const bool seen = std::any_of(units.begin(), units.end(),
                                      [&](const ExtensionUnitDescriptor& kept) { return kept.unitId == unit.unitId; });
        if (unit.interfaceNumber == interfaceNumber && !seen) units.push_back(unit);
    }
    return units;
}

HResult ResultOfErrno(int error) {
    switch (error) {
    case 0:
        return kS_OK;
    case ENOENT:
        return wire::kHrNotFound;
    case ENOBUFS:
        return wire::kHrInsufficientBuffer;
    case EIO:
    case EPIPE:
        return wire::kHrGenFailure;
    case EBADRQC:
        return wire::kHrNotSupported;
    case EACCES:
    case EPERM:
        return kAccessDenied;
    default:
        return kE_FAIL;
    }
}

// The request names its unit by the property set. The node it names counts
// only for the support test, which is how the register library picks a
// node: the program addresses the bridge unit on a node number of its own.
HResult UvcKsControl::KsProperty(const void* property, std::uint32_t propertyLength, void* data,
                                 std::uint32_t dataLength, std::uint32_t* bytesReturned) {
    std::uint32_t returned = 0;
    if (bytesReturned) *bytesReturned = 0;
    if (!property) return kE_POINTER;
    const auto request =
        wire::KsRequest::Parse({static_cast<const std::uint8_t*>(property), static_cast<std::size_t>(propertyLength)});
    if (!request || !request->WellFormed()) return kE_INVALIDARG;
    const auto unit = std::find_if(m_units.begin(), m_units.end(),
                                   [&](const ExtensionUnitDescriptor& u) { return u.guid == request->set; });
    if (!request->Topology() || unit == m_units.end()) return wire::kHrSetNotFound;
    auto* bytes = static_cast<std::uint8_t*>(data);
    if (!bytes) dataLength = 0;
    HResult hr = wire::kHrNotSupported;
    switch (request->Type()) {
    case wire::kKsSetSupport: {
        const auto node = kFirstUnitNode + static_cast<std::uint32_t>(unit - m_units.begin());
        return request->node == node ? kS_OK : wire::kHrSetNotFound;
    }
    case wire::kKsGet:
        hr = Get(unit->unitId, request->id, bytes, dataLength, returned);
        break;
    case wire::kKsSet:
        if (dataLength > std::numeric_limits<std::uint16_t>::max()) return kE_INVALIDARG;
        hr = Query(unit->unitId, request->id, UVC_SET_CUR, static_cast<std::uint16_t>(dataLength), bytes);
        if (hr == kS_OK) returned = dataLength;
        break;
    default:
        break;
    }
    if (bytesReturned) *bytesReturned = returned;
    return hr;
}

// A get without a buffer asks the size, as the proxy answers it: more data,
// with the size.
HResult UvcKsControl::Get(std::uint8_t unit, std::uint32_t selector, std::uint8_t* data, std::uint32_t dataLength,
                          std::uint32_t& returned) {
    std::uint8_t length[2] = {};
    const HResult hr = Query(unit, selector, UVC_GET_LEN, sizeof length, length);
    if (hr != kS_OK) return hr;
    const std::uint16_t size = static_cast<std::uint16_t>(length[0] | (length[1] << 8));
    returned = size;
    if (dataLength == 0) return wire::kHrMoreData;
    if (dataLength < size) {
        returned = 0;
        return wire::kHrInsufficientBuffer;
    }
    const HResult got = Query(unit, selector, UVC_GET_CUR, size, data);
    if (got != kS_OK) returned = 0;
    return got;
}

HResult UvcKsControl::Query(std::uint8_t unit, std::uint32_t selector, std::uint8_t code, std::uint16_t size,
                            std::uint8_t* data) {
    // Selectors are one byte on the bus: a larger id names no control.
    if (selector > 0xFF) return wire::kHrNotFound;
    uvc_xu_control_query query{};
    query.unit = unit;
    query.selector = static_cast<std::uint8_t>(selector);
    query.query = code;
    query.size = size;
    query.data = data;
    return ResultOfErrno(m_node->Ioctl(UVCIOC_CTRL_QUERY, &query));
}

}  // namespace kv::platform::linux_uvc
