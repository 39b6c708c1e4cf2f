// VIDIOC_QUERYCTRL, VIDIOC_G_CTRL and VIDIOC_S_CTRL behind the ranged
// properties. A property with an automatic mode has a second control that
// switches it; the proxy's flags (1 auto, 2 manual) read and set that one.
#include "linux_uvc/V4l2Controls.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <optional>

#include "linux_uvc/UvcRequests.h"
#include "wire/KsProperty.h"

namespace kv::platform::linux_uvc {

namespace {

constexpr std::int32_t kAuto = 1;
constexpr std::int32_t kManual = 2;
constexpr std::int32_t kCameraControlExposure = 4;

struct Mapping {
    std::uint32_t control = 0;
    std::uint32_t autoControl = 0;  // 0: none
    std::int32_t autoOn = 1;        // the switch's value for automatic
    std::int32_t autoOff = 0;
    bool exposure = false;
};

std::optional<Mapping> VideoProcAmpMapping(std::int32_t property) {
    switch (property) {
    case 0:
        return Mapping{V4L2_CID_BRIGHTNESS};
    case 1:
        return Mapping{V4L2_CID_CONTRAST};
    case 2:
        return Mapping{V4L2_CID_HUE, V4L2_CID_HUE_AUTO};
    case 3:
        return Mapping{V4L2_CID_SATURATION};
    case 4:
        return Mapping{V4L2_CID_SHARPNESS};
    case 5:
        return Mapping{V4L2_CID_GAMMA};
    case 7:
        return Mapping{V4L2_CID_WHITE_BALANCE_TEMPERATURE, V4L2_CID_AUTO_WHITE_BALANCE};
    case 8:
        return Mapping{V4L2_CID_BACKLIGHT_COMPENSATION};
    case 9:
        return Mapping{V4L2_CID_GAIN};
    default:
        return std::nullopt;
    }
}

std::optional<Mapping> CameraControlMapping(std::int32_t property) {
    switch (property) {
    case 3:
        return Mapping{V4L2_CID_ZOOM_ABSOLUTE};
    case kCameraControlExposure:
        return Mapping{V4L2_CID_EXPOSURE_ABSOLUTE, V4L2_CID_EXPOSURE_AUTO, V4L2_EXPOSURE_APERTURE_PRIORITY,
                       V4L2_EXPOSURE_MANUAL, true};
    case 6:
        return Mapping{V4L2_CID_FOCUS_ABSOLUTE, V4L2_CID_FOCUS_AUTO};
    default:
        return std::nullopt;
    }
}

// A control the driver does not have (EINVAL) is a property not found; a
// value it refuses is an invalid argument.
HResult ControlResult(int error, bool setting) {
    if (error == EINVAL) return setting ? kE_INVALIDARG : wire::kHrNotFound;
    if (error == ERANGE) return kE_INVALIDARG;
    return ResultOfErrno(error);
}

class V4l2Controls : public RangedProperties {
public:
    V4l2Controls(std::shared_ptr<OpenNode> node, ControlGroup group) : m_node(std::move(node)), m_group(group) {}

    HResult GetRange(std::int32_t property, std::int32_t& minimum, std::int32_t& maximum, std::int32_t& step,
                     std::int32_t& defaultValue, std::int32_t& flags) override {
        const auto mapping = Map(property);
        if (!mapping) return wire::kHrNotFound;
        v4l2_queryctrl query{};
        query.id = mapping->control;
        const int error = m_node->Ioctl(VIDIOC_QUERYCTRL, &query);
        if (error != 0) return ControlResult(error, false);
        if ((query.flags & V4L2_CTRL_FLAG_DISABLED) != 0) return wire::kHrNotFound;
        minimum = Shown(*mapping, query.minimum);
        maximum = Shown(*mapping, query.maximum);
        step = mapping->exposure ? 1 : query.step;
        defaultValue = Shown(*mapping, query.default_value);
        flags = kManual | (HasSwitch(*mapping) ? kAuto : 0);
        return kS_OK;
    }

    HResult Get(std::int32_t property, std::int32_t& value, std::int32_t& flags) override {
        const auto mapping = Map(property);
        if (!mapping) return wire::kHrNotFound;
        v4l2_control control{mapping->control, 0};
        const int error = m_node->Ioctl(VIDIOC_G_CTRL, &control);
        if (error != 0) return ControlResult(error, false);
        value = Shown(*mapping, control.value);
        v4l2_control automatic{mapping->autoControl, 0};
        const bool isAuto = mapping->autoControl != 0 && m_node->Ioctl(VIDIOC_G_CTRL, &automatic) == 0 &&
                            automatic.value != mapping->autoOff;
        flags = isAuto ? kAuto : kManual;
        return kS_OK;
    }

    // Automatic only switches the mode; manual switches it off, then sets
    // the value (the driver refuses a value while the mode is automatic).
    HResult Set(std::int32_t property, std::int32_t value, std::int32_t flags) override {
        const auto mapping = Map(property);
        if (!mapping) return wire::kHrNotFound;
        const bool automatic = (flags & kAuto) != 0;
        if (mapping->autoControl != 0) {
            v4l2_control mode{mapping->autoControl, automatic ? mapping->autoOn : mapping->autoOff};
            const int error = m_node->Ioctl(VIDIOC_S_CTRL, &mode);
            if (error != 0) return ControlResult(error, true);
        }
        if (automatic) return mapping->autoControl != 0 ? kS_OK : kE_INVALIDARG;
        v4l2_control control{mapping->control,
                             mapping->exposure ? ExposureHundredMicroseconds(value) : static_cast<std::int32_t>(value)};
        return ControlResult(m_node->Ioctl(VIDIOC_S_CTRL, &control), true);
    }

private:
    std::optional<Mapping> Map(std::int32_t property) const {
        return m_group == ControlGroup::VideoProcAmp ? VideoProcAmpMapping(property) : CameraControlMapping(property);
    }
    bool HasSwitch(const Mapping& mapping) {
        if (mapping.autoControl == 0) return false;
        v4l2_queryctrl query{};
        query.id = mapping.autoControl;
        return m_node->Ioctl(VIDIOC_QUERYCTRL, &query) == 0 && (query.flags & V4L2_CTRL_FLAG_DISABLED) == 0;
    }
    static std::int32_t Shown(const Mapping& mapping, std::int32_t value) {
        return mapping.exposure ? ExposureLog2(value) : value;
    }

    std::shared_ptr<OpenNode> m_node;
    ControlGroup m_group;
};

}  // namespace

std::int32_t ExposureLog2(std::int32_t hundredMicroseconds) {
    return static_cast<std::int32_t>(std::lround(std::log2(std::max(1, hundredMicroseconds) / 10000.0)));
}

std::int32_t ExposureHundredMicroseconds(std::int32_t log2Seconds) {
    const double units = std::ldexp(10000.0, std::max(-30, std::min(log2Seconds, 17)));
    return static_cast<std::int32_t>(std::max(1L, std::lround(units)));
}

std::shared_ptr<RangedProperties> MakeV4l2Controls(std::shared_ptr<OpenNode> node, ControlGroup group) {
    return std::make_shared<V4l2Controls>(std::move(node), group);
}

}  // namespace kv::platform::linux_uvc
