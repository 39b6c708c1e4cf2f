// Fake capture filters.
#include "tests/fakes/FakeFilters.h"

#include <algorithm>
#include <cstring>

namespace kv::test {

namespace {

template <typename Interface, typename Held>
platform::HResult Expose(const std::shared_ptr<Held>& held, std::shared_ptr<Interface>& out) {
    out = held;
    return held ? platform::kS_OK : platform::kE_NOINTERFACE;
}

std::uint32_t WordAt(const std::array<std::uint8_t, 32>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

platform::HResult BridgeKsControl::KsProperty(const void* property, std::uint32_t propertyLength, void* data,
                                              std::uint32_t dataLength, std::uint32_t* bytesReturned) {
    Request request;
    std::memcpy(request.property.data(), property, std::min<std::size_t>(propertyLength, 32));
    auto* bytes = static_cast<std::uint8_t*>(data);
    if (failWith != platform::kS_OK) {
        request.data.assign(bytes, bytes + dataLength);
        requests.push_back(request);
        return failWith;
    }
    const bool get = (WordAt(request.property, 20) & 0x3) == 1;
    if (get) {
        std::uint8_t value = 0;
        if (m_latched == 0x10D0 && !statusReads.empty()) {
            value = statusReads.front();
            statusReads.pop_front();
        } else if (const auto fixed = readOnly.find(m_latched); fixed != readOnly.end()) {
            value = fixed->second;
        } else {
            value = registers[m_latched];
        }
        bytes[2] = value;
    } else {
        const int address = bytes[0] | bytes[1] << 8;
        if (bytes[3] == 0xFF) {
            m_latched = address;
        } else {
            registers[address] = bytes[2];
        }
    }
    request.data.assign(bytes, bytes + dataLength);
    requests.push_back(request);
    if (bytesReturned) *bytesReturned = get ? dataLength : 0;
    return platform::kS_OK;
}

std::vector<std::pair<int, int>> BridgeKsControl::Writes() const {
    std::vector<std::pair<int, int>> writes;
    for (const Request& r : requests) {
        if ((WordAt(r.property, 20) & 0x3) == 2 && r.data.size() == 4 && r.data[3] == 0x00) {
            writes.emplace_back(r.data[0] | r.data[1] << 8, r.data[2]);
        }
    }
    return writes;
}

std::vector<int> BridgeKsControl::Reads() const {
    std::vector<int> reads;
    for (const Request& r : requests) {
        if ((WordAt(r.property, 20) & 0x3) == 2 && r.data.size() == 4 && r.data[3] == 0xFF) {
            reads.push_back(r.data[0] | r.data[1] << 8);
        }
    }
    return reads;
}

platform::HResult RecordingPropertySet::Set(const platform::Guid& set, std::uint32_t id, const void* instanceData,
                                            std::uint32_t instanceLength, const void* propertyData,
                                            std::uint32_t dataLength) {
    const auto* instance = static_cast<const std::uint8_t*>(instanceData);
    const auto* property = static_cast<const std::uint8_t*>(propertyData);
    calls.push_back({set, id, {instance, instance + instanceLength}, {property, property + dataLength}});
    return platform::kS_OK;
}

platform::HResult FakeRangedProperties::GetRange(std::int32_t property, std::int32_t& minimum, std::int32_t& maximum,
                                                 std::int32_t& step, std::int32_t& defaultValue, std::int32_t& flags) {
    const auto found = ranges.find(property);
    if (found == ranges.end()) return platform::kE_FAIL;
    const Range& r = found->second;
    minimum = r.minimum;
    maximum = r.maximum;
    step = r.step;
    defaultValue = r.defaultValue;
    flags = r.flags;
    return platform::kS_OK;
}

platform::HResult FakeRangedProperties::Get(std::int32_t property, std::int32_t& value, std::int32_t& flags) {
    const auto found = ranges.find(property);
    if (found == ranges.end()) return platform::kE_FAIL;
    value = found->second.current;
    flags = found->second.flags;
    return platform::kS_OK;
}

platform::HResult FakeRangedProperties::Set(std::int32_t property, std::int32_t value, std::int32_t flags) {
    sets.push_back({property, value, flags});
    return platform::kS_OK;
}

platform::HResult FakeFilter::QueryKsControl(std::shared_ptr<platform::KsControl>& control) {
    return Expose(ksControl, control);
}
platform::HResult FakeFilter::QueryKsPropertySet(std::shared_ptr<platform::KsPropertySet>& set) {
    return Expose(propertySet, set);
}
platform::HResult FakeFilter::QueryKsTopologyInfo(std::shared_ptr<platform::KsTopologyInfo>& topology) {
    topology = nullptr;
    return platform::kE_NOINTERFACE;
}
platform::HResult FakeFilter::QueryVideoProcAmp(std::shared_ptr<platform::RangedProperties>& out) {
    return Expose(procAmp, out);
}
platform::HResult FakeFilter::QueryCameraControl(std::shared_ptr<platform::RangedProperties>& out) {
    return Expose(cameraControl, out);
}

}  // namespace kv::test
