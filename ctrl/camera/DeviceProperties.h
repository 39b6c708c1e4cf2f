// The camera driver's own property set, and the DirectShow video processing
// and camera control properties with their ranges.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ctrl/camera/FilterPair.h"

namespace kv::ctrl {

// One property range record: minimum, maximum, stepping delta, default,
// capability flags, current value, saved value.
struct RangeDataSet {
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t delta = 0;
    std::int32_t defaultValue = 0;
    std::int32_t flags = 0;
    std::int32_t current = 0;
    std::int32_t saved = 0;
};

class DeviceProperties {
public:
    explicit DeviceProperties(FilterPair& filterPair) : m_filterPair(filterPair) {}

    int KsProp_Set(int propertyId, int value);
    // The bound filter's answer that no driver of this platform has the
    // property set (a filter that merely lacks it is not that).
    bool PlatformLacksDriverPropertySet() const;
    platform::HResult Camera_QueryRanges();
    platform::HResult VideoProcAmp_SetDefaults();

    // The interfaces go with the graphs they were read through.
    void ReleaseInterfaces() {
        m_procAmp.reset();
        m_camCtrl.reset();
    }
    void ClearRanges() { m_ranges.clear(); }
    const std::vector<RangeDataSet>& ranges() const { return m_ranges; }

private:
    FilterPair& m_filterPair;
    std::vector<RangeDataSet> m_ranges{RangeDataSet{}};
    // Declared so that destruction releases the camera control before the
    // video processing amplifier.
    std::shared_ptr<platform::RangedProperties> m_procAmp;
    std::shared_ptr<platform::RangedProperties> m_camCtrl;
};

}  // namespace kv::ctrl
