// Video-processing and camera-control property requests.
#include "sim/hw/CameraProperties.h"

#include "wire/KsProperty.h"

namespace kv::sim {

namespace {

const std::map<std::int32_t, PropertyRange>& Ranges(const CameraConfig& config, PropertyGroup group) {
    return group == PropertyGroup::VideoProcAmp ? config.videoProcAmp : config.cameraControl;
}

std::map<std::int32_t, PropertyValue>& Values(CameraState& state, PropertyGroup group) {
    return group == PropertyGroup::VideoProcAmp ? state.videoProcAmp : state.cameraControl;
}

const PropertyRange* FindRange(const CameraConfig& config, PropertyGroup group, std::int32_t property) {
    const auto& ranges = Ranges(config, group);
    const auto it = ranges.find(property);
    return it == ranges.end() ? nullptr : &it->second;
}

bool Acceptable(const PropertyRange& range, std::int32_t value, std::int32_t flags) {
    if (flags != kFlagAuto && flags != kFlagManual) return false;
    if ((range.caps & flags) == 0) return false;
    if (value < range.min || value > range.max) return false;
    const std::int64_t offset = static_cast<std::int64_t>(value) - range.min;
    return range.step <= 0 || offset % range.step == 0;
}

}  // namespace

PropertyValue CurrentProperty(const CameraConfig& config, const CameraState& state, PropertyGroup group,
                              std::int32_t property) {
    const auto& values = group == PropertyGroup::VideoProcAmp ? state.videoProcAmp : state.cameraControl;
    const auto it = values.find(property);
    if (it != values.end()) return it->second;
    const PropertyRange* range = FindRange(config, group, property);
    if (range == nullptr) return PropertyValue{};
    return PropertyValue{range->def, (range->caps & kFlagManual) != 0 ? kFlagManual : kFlagAuto};
}

Answer PropertyGetRange(Hardware& hw, PropertyGroup group, std::int32_t property, PropertyRange& range) {
    const PropertyRange* found = FindRange(hw.config, group, property);
    if (found == nullptr) return Answer{wire::kHrNotFound, 0, 0};
    range = *found;
    return Answer{};
}

Answer PropertyGet(Hardware& hw, PropertyGroup group, std::int32_t property, std::int32_t& value, std::int32_t& flags) {
    if (FindRange(hw.config, group, property) == nullptr) return Answer{wire::kHrNotFound, 0, 0};
    const PropertyValue current = CurrentProperty(hw.config, hw.state, group, property);
    value = current.value;
    flags = current.flags;
    return Answer{};
}

Answer PropertySet(Hardware& hw, PropertyGroup group, std::int32_t property, std::int32_t value, std::int32_t flags) {
    const PropertyRange* range = FindRange(hw.config, group, property);
    if (range == nullptr) return Answer{wire::kHrNotFound, 0, 0};
    if (!Acceptable(*range, value, flags)) return Answer{platform::kE_INVALIDARG, 0, 0};
    Values(hw.state, group)[property] = PropertyValue{value, flags};
    return Answer{};
}

}  // namespace kv::sim
