// The camera driver's own property set, and the DirectShow video processing
// and camera control properties.
#include "ctrl/camera/DeviceProperties.h"

#include <utility>

#include "wire/DriverProperty.h"
#include "wire/PropertySets.h"

namespace kv::ctrl {

namespace {

constexpr std::int32_t kVideoProcAmpProperties = 9;  // brightness .. backlight compensation
constexpr std::int32_t kCameraControlExposure = 4;
constexpr std::size_t kRangeRecords = 10;
constexpr std::int32_t kManual = 2;

}  // namespace

int DeviceProperties::KsProp_Set(int propertyId, int value) {
    if (!m_filterPair.baseFilter) return platform::kE_POINTER;
    std::shared_ptr<platform::KsPropertySet> propertySet;
    const platform::HResult queried = m_filterPair.baseFilter->QueryKsPropertySet(propertySet);
    if (platform::Failed(queried)) return queried;
    if (!propertySet) return platform::kE_NOINTERFACE;

    const auto block = wire::DriverProperty(static_cast<std::uint32_t>(propertyId), value);
    const auto size = static_cast<std::uint32_t>(block.size());
    // The driver takes the block both as instance and as property data.
    static_cast<void>(propertySet->Set(wire::kDriverPropertySet, static_cast<std::uint32_t>(propertyId), block.data(),
                                       size, block.data(), size));
    return 1;
}

bool DeviceProperties::PlatformLacksDriverPropertySet() const {
    std::shared_ptr<platform::KsPropertySet> propertySet;
    return m_filterPair.baseFilter &&
           m_filterPair.baseFilter->QueryKsPropertySet(propertySet) == platform::kNotOnThisPlatform;
}

platform::HResult DeviceProperties::Camera_QueryRanges() {
    if (!m_filterPair.baseFilter) return platform::kE_POINTER;
    if (m_ranges.size() < kRangeRecords) m_ranges.resize(kRangeRecords);

    std::size_t next = 0;
    platform::HResult hr = m_filterPair.baseFilter->QueryVideoProcAmp(m_procAmp);
    if (platform::Succeeded(hr) && m_procAmp) {
        for (std::int32_t property = 0; property < kVideoProcAmpProperties; ++property) {
            RangeDataSet& range = m_ranges[static_cast<std::size_t>(property)];
            hr = m_procAmp->GetRange(property, range.minimum, range.maximum, range.delta, range.defaultValue,
                                     range.flags);
            if (platform::Succeeded(hr)) {
                hr = m_procAmp->Get(property, range.current, range.flags);
                range.saved = range.current;
            }
        }
        next = kVideoProcAmpProperties;
    } else {
        m_procAmp = nullptr;
    }

    RangeDataSet& exposure = m_ranges[next];
    hr = m_filterPair.baseFilter->QueryCameraControl(m_camCtrl);
    if (platform::Failed(hr) || !m_camCtrl) {
        m_camCtrl = nullptr;
        exposure = RangeDataSet{};
        return platform::Failed(hr) ? hr : platform::kE_NOINTERFACE;
    }
    hr = m_camCtrl->GetRange(kCameraControlExposure, exposure.minimum, exposure.maximum, exposure.delta,
                             exposure.defaultValue, exposure.flags);
    if (platform::Failed(hr)) {
        exposure = RangeDataSet{};
        return hr;
    }
    hr = m_camCtrl->Get(kCameraControlExposure, exposure.current, exposure.flags);
    exposure.saved = exposure.current;
    return hr;
}

platform::HResult DeviceProperties::VideoProcAmp_SetDefaults() {
    if (!m_procAmp) return platform::kS_OK;
    static constexpr std::pair<std::int32_t, std::int32_t> kDefaults[] = {{0, 0},  {1, 32}, {2, 3}, {4, 2},
                                                                          {5, 85}, {8, 1},  {3, 60}};
    platform::HResult hr = platform::kS_OK;
    for (const auto& [property, value] : kDefaults) hr = m_procAmp->Set(property, value, kManual);
    return hr;
}

}  // namespace kv::ctrl
