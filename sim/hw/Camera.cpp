// Request entry points of one camera: fault injection, routing to the unit
// or path that answers, and the request record.
#include "sim/hw/Camera.h"

#include <cstdio>
#include <string>

#include "sim/hw/AsicLib.h"
#include "platform/TextBasics.h"
#include "sim/hw/AveoXu.h"
#include "sim/hw/BridgeXu.h"
#include "sim/hw/DriverProperties.h"
#include "sim/hw/Faults.h"
#include "sim/hw/Hardware.h"
#include "sim/hw/PluginXu.h"
#include "sim/hw/SmiCameraAccess.h"
#include "sim/hw/Topology.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::sim {

namespace {

std::string_view KsPath(const platform::Guid& set) {
    if (set == wire::kBridgeXuSet) return paths::kBridgeXu;
    if (set == wire::kPluginXuSet) return paths::kPluginXu;
    if (set == wire::kAveoXuSet) return paths::kAveoXu;
    if (set == wire::kDriverPropertySet) return paths::kDriver;
    return paths::kOtherKs;
}

std::string_view KsOp(std::uint32_t type) {
    switch (type) {
    case wire::kKsGet:
        return "get";
    case wire::kKsSet:
        return "set";
    case wire::kKsSetSupport:
        return "support";
    case wire::kKsBasicSupport:
        return "basicsupport";
    default:
        return "other";
    }
}

std::string_view GroupPath(PropertyGroup group) {
    return group == PropertyGroup::VideoProcAmp ? paths::kVideoProcAmp : paths::kCameraControl;
}

Answer RouteKs(Hardware& hw, const wire::KsRequest& request, std::span<std::uint8_t> data) {
    if (!request.WellFormed()) return Answer{platform::kE_INVALIDARG, 0, 0};
    const std::string_view path = KsPath(request.set);
    // The driver's own set is reached through IKsPropertySet only, the way
    // the camera object uses it; through IKsControl it is unknown.
    if (path == paths::kDriver || path == paths::kOtherKs || !request.Topology() ||
        !NodeAnswers(hw.config, request.node, request.set)) {
        return Answer{wire::kHrSetNotFound, 0, 0};
    }
    if (request.Type() == wire::kKsSetSupport) return Answer{};
    if (path == paths::kBridgeXu) return BridgeXuRequest(hw, request, data);
    if (path == paths::kPluginXu) return PluginXuRequest(hw, request, data);
    return AveoXuRequest(hw, request, data);
}

Bytes Copy(std::span<const std::uint8_t> bytes) { return Bytes(bytes.begin(), bytes.end()); }

// Describe steps of the requests: none, a register or port number (with the
// value a write sends), a property number.
void NoFields(RequestRecord&) {}

auto Number(const char* name, std::uint32_t number) {
    return [=](RequestRecord& record) { record.Add(name, static_cast<std::int64_t>(number)); };
}

auto NumberAndValue(const char* name, std::uint32_t number, std::int32_t value) {
    return [=](RequestRecord& record) {
        record.Add(name, static_cast<std::int64_t>(number));
        record.Add("value", static_cast<std::int64_t>(value));
    };
}

auto PropertyField(std::int32_t property) {
    return [=](RequestRecord& record) { record.Add("property", static_cast<std::int64_t>(property)); };
}

}  // namespace

Camera::Camera(const CameraConfig& config, CameraState& state, std::vector<RequestRecord>* records)
    : config_(config), state_(state), records_(records) {}

template <class Describe, class Body>
Answer Camera::Run(std::string_view path, std::string_view op, std::optional<std::uint32_t> id, Describe&& describe,
                   Body&& body) {
    RequestRecord scratch;
    RequestRecord& record = records_ != nullptr ? records_->emplace_back() : scratch;
    record.path = std::string(path);
    record.op = std::string(op);
    // What was asked goes into the record whether or not a fault stops it;
    // what the device gave back only when it ran.
    describe(record);
    Hardware hw(config_, state_, &record);
    Answer answer;
    const InjectedFault* fault = MatchFault(config_, path, op, id);
    if (fault != nullptr && (!fault->hang || fault->hr)) {
        // A failing request does nothing at the device.
        answer = Answer{fault->hr.value_or(DefaultFaultCode(path)), 0, fault->hang ? fault->hangMs : 0};
        record.Add("fault", std::string(fault->hang ? "hang" : "fail"));
    } else {
        answer = body(hw);
        if (fault != nullptr) {
            answer.hangMs = fault->hangMs;
            record.Add("fault", std::string("hang"));
        }
    }
    record.hr = answer.hr;
    record.hangMs = answer.hangMs;
    return answer;
}

Answer Camera::KsProperty(std::span<const std::uint8_t> property, std::span<std::uint8_t> data) {
    const auto request = wire::KsRequest::Parse(property);
    if (!request) {
        return Run(paths::kOtherKs, "other", std::nullopt, NoFields, [](Hardware&) {
            return Answer{platform::kE_INVALIDARG, 0, 0};
        });
    }
    const auto describe = [&](RequestRecord& record) {
        record.Add("set", request->set.ToString());
        record.Add("id", static_cast<std::int64_t>(request->id));
        record.Add("flags", platform::FormatText("0x%08X", static_cast<unsigned>(request->flags)));
        if (request->hasNode) record.Add("node", static_cast<std::int64_t>(request->node));
        if (request->Type() == wire::kKsSet) record.Add("data", Copy(data));
    };
    return Run(KsPath(request->set), KsOp(request->Type()), request->id, describe, [&](Hardware& hw) {
        const Answer answer = RouteKs(hw, *request, data);
        if (request->Type() == wire::kKsGet && platform::Succeeded(answer.hr)) {
            hw.record->Add("data", Copy(data.first(std::min<std::size_t>(answer.bytesReturned, data.size()))));
        }
        hw.record->Add("returned", static_cast<std::int64_t>(answer.bytesReturned));
        return answer;
    });
}

Answer Camera::PropertySetSet(const platform::Guid& set, std::uint32_t id, std::span<const std::uint8_t> instance,
                              std::span<std::uint8_t> data) {
    const auto describe = [&](RequestRecord& record) {
        record.Add("set", set.ToString());
        record.Add("id", static_cast<std::int64_t>(id));
        record.Add("instance", Copy(instance));
        record.Add("data", Copy(data));
    };
    return Run(KsPath(set), "set", id, describe, [&](Hardware& hw) {
        if (set != wire::kDriverPropertySet) return Answer{wire::kHrSetNotFound, 0, 0};
        return DriverPropertySet(hw, id, instance, data);
    });
}

Answer Camera::PropertySetGet(const platform::Guid& set, std::uint32_t id, std::span<const std::uint8_t> instance,
                              std::span<std::uint8_t> /*data: the set is write-only*/) {
    const auto describe = [&](RequestRecord& record) {
        record.Add("set", set.ToString());
        record.Add("id", static_cast<std::int64_t>(id));
        record.Add("instance", Copy(instance));
    };
    return Run(KsPath(set), "get", id, describe, [&](Hardware& hw) {
        if (set != wire::kDriverPropertySet) return Answer{wire::kHrSetNotFound, 0, 0};
        return DriverPropertyGet(hw, id);
    });
}

Answer Camera::PropertySetQuerySupported(const platform::Guid& set, std::uint32_t id, std::uint32_t& support) {
    const auto describe = [&](RequestRecord& record) {
        record.Add("set", set.ToString());
        record.Add("id", static_cast<std::int64_t>(id));
    };
    return Run(KsPath(set), "support", id, describe, [&](Hardware& hw) {
        if (set != wire::kDriverPropertySet) return Answer{wire::kHrSetNotFound, 0, 0};
        const Answer answer = DriverPropertySupport(hw, id);
        if (platform::Succeeded(answer.hr)) support = kDriverSupport;
        return answer;
    });
}

Answer Camera::GetRange(PropertyGroup group, std::int32_t property, PropertyRange& range) {
    return Run(GroupPath(group), "getrange", static_cast<std::uint32_t>(property), PropertyField(property),
               [&](Hardware& hw) { return PropertyGetRange(hw, group, property, range); });
}

Answer Camera::Get(PropertyGroup group, std::int32_t property, std::int32_t& value, std::int32_t& flags) {
    return Run(GroupPath(group), "get", static_cast<std::uint32_t>(property), PropertyField(property),
               [&](Hardware& hw) {
                   const Answer answer = PropertyGet(hw, group, property, value, flags);
                   if (platform::Succeeded(answer.hr)) {
                       hw.record->Add("value", static_cast<std::int64_t>(value));
                       hw.record->Add("flags", static_cast<std::int64_t>(flags));
                   }
                   return answer;
               });
}

Answer Camera::Set(PropertyGroup group, std::int32_t property, std::int32_t value, std::int32_t flags) {
    const auto describe = [&](RequestRecord& record) {
        record.Add("property", static_cast<std::int64_t>(property));
        record.Add("value", static_cast<std::int64_t>(value));
        record.Add("flags", static_cast<std::int64_t>(flags));
    };
    return Run(GroupPath(group), "set", static_cast<std::uint32_t>(property), describe,
               [&](Hardware& hw) { return PropertySet(hw, group, property, value, flags); });
}

Answer Camera::UsbOpen() {
    return Run(paths::kUsb, "open", std::nullopt, NoFields, [&](Hardware& hw) {
        return hw.config.directUsb ? Answer{} : Answer{platform::kE_FAIL, 0, 0};
    });
}

Answer Camera::UsbControl(const UsbSetup& setup, std::span<std::uint8_t> buffer) {
    const bool in = (setup.requestType & 0x80) != 0;
    const auto describe = [&](RequestRecord& record) {
        const Bytes packet{setup.requestType,
                           setup.request,
                           static_cast<std::uint8_t>(setup.value),
                           static_cast<std::uint8_t>(setup.value >> 8),
                           static_cast<std::uint8_t>(setup.index),
                           static_cast<std::uint8_t>(setup.index >> 8),
                           static_cast<std::uint8_t>(setup.length),
                           static_cast<std::uint8_t>(setup.length >> 8)};
        record.Add("setup", packet);
        if (!in) record.Add("data", Copy(buffer.first(std::min<std::size_t>(setup.length, buffer.size()))));
    };
    return Run(paths::kUsb, in ? "in" : "out", setup.value, describe, [&](Hardware& hw) {
        const Answer answer = UsbControlTransfer(hw, setup, buffer);
        if (in && platform::Succeeded(answer.hr)) hw.record->Add("data", Copy(buffer.first(answer.bytesReturned)));
        hw.record->Add("returned", static_cast<std::int64_t>(answer.bytesReturned));
        return answer;
    });
}

Answer Camera::SmiCreateDevice() {
    return Run(paths::kSmi, "create", std::nullopt, NoFields, [&](Hardware& hw) {
        return hw.config.smi ? Answer{} : Answer{platform::kE_FAIL, 0, 0};
    });
}

Answer Camera::SmiSetSensorRegister(std::uint32_t reg, std::int32_t value) {
    return Run(paths::kSmi, "set-sensor", reg, NumberAndValue("register", reg, value),
               [&](Hardware& hw) { return kv::sim::SmiSetSensorRegister(hw, reg, value); });
}

Answer Camera::SmiGetSensorRegister(std::uint32_t reg, std::int32_t& value) {
    return Run(paths::kSmi, "get-sensor", reg, Number("register", reg), [&](Hardware& hw) {
        const Answer answer = kv::sim::SmiGetSensorRegister(hw, reg, value);
        if (platform::Succeeded(answer.hr)) hw.record->Add("value", static_cast<std::int64_t>(value));
        return answer;
    });
}

Answer Camera::SmiSetGpio(std::uint32_t port, std::int32_t value) {
    return Run(paths::kSmi, "set-gpio", port, NumberAndValue("port", port, value),
               [&](Hardware& hw) { return kv::sim::SmiSetGpio(hw, port, value); });
}

Answer Camera::SmiGetGpio(std::uint32_t port, std::int32_t& value) {
    return Run(paths::kSmi, "get-gpio", port, Number("port", port), [&](Hardware& hw) {
        const Answer answer = kv::sim::SmiGetGpio(hw, port, value);
        if (platform::Succeeded(answer.hr)) hw.record->Add("value", static_cast<std::int64_t>(value));
        return answer;
    });
}

Answer Camera::AsicLibInit() {
    return Run(paths::kAsicLib, "init", std::nullopt, NoFields, [&](Hardware& hw) {
        return hw.config.asicLib ? Answer{} : Answer{platform::kE_FAIL, 0, 0};
    });
}

Answer Camera::AsicRead(std::uint32_t reg, std::int32_t& value) {
    return Run(paths::kAsicLib, "read", reg, Number("register", reg), [&](Hardware& hw) {
        const Answer answer = kv::sim::AsicRead(hw, reg, value);
        if (platform::Succeeded(answer.hr)) hw.record->Add("value", static_cast<std::int64_t>(value));
        return answer;
    });
}

Answer Camera::AsicWrite(std::uint32_t reg, std::int32_t value) {
    return Run(paths::kAsicLib, "write", reg, NumberAndValue("register", reg, value),
               [&](Hardware& hw) { return kv::sim::AsicWrite(hw, reg, value); });
}

Answer Camera::AsicLibUninit() {
    return Run(paths::kAsicLib, "uninit", std::nullopt, NoFields, [&](Hardware& hw) {
        return hw.config.asicLib ? Answer{} : Answer{platform::kE_FAIL, 0, 0};
    });
}

}  // namespace kv::sim
