// Fault matching and the default failure codes of each path.
#include "sim/hw/Faults.h"

#include "wire/KsProperty.h"

namespace kv::sim {

const InjectedFault* MatchFault(const CameraConfig& config, std::string_view path, std::string_view op,
                                std::optional<std::uint32_t> id) {
    for (const InjectedFault& fault : config.faults) {
        if (fault.path != path) continue;
        if (fault.op && *fault.op != op) continue;
        if (fault.id && (!id || *fault.id != *id)) continue;
        return &fault;
    }
    return nullptr;
}

platform::HResult DefaultFaultCode(std::string_view path) {
    if (path == paths::kSmi || path == paths::kAsicLib || path == paths::kVideoProcAmp ||
        path == paths::kCameraControl) {
        return platform::kE_FAIL;
    }
    return wire::kHrGenFailure;
}

namespace {

// Kernel-streaming requests (IKsControl, and IKsPropertySet on the same sets).
constexpr std::string_view kKsOps[] = {"get", "set", "support", "basicsupport", "other"};
constexpr std::string_view kPropertyOps[] = {"getrange", "get", "set"};
constexpr std::string_view kUsbOps[] = {"open", "out", "in"};
constexpr std::string_view kSmiOps[] = {"create", "set-sensor", "get-sensor", "set-gpio", "get-gpio"};
constexpr std::string_view kAsicLibOps[] = {"init", "read", "write", "uninit"};

}  // namespace

std::span<const std::string_view> PathOps(std::string_view path) {
    if (path == paths::kBridgeXu || path == paths::kPluginXu || path == paths::kAveoXu || path == paths::kDriver ||
        path == paths::kOtherKs) {
        return kKsOps;
    }
    if (path == paths::kVideoProcAmp || path == paths::kCameraControl) return kPropertyOps;
    if (path == paths::kUsb) return kUsbOps;
    if (path == paths::kSmi) return kSmiOps;
    if (path == paths::kAsicLib) return kAsicLibOps;
    return {};
}

bool OpCarriesId(std::string_view op) { return op != "open" && op != "create" && op != "init" && op != "uninit"; }

bool IsKnownPath(std::string_view path) {
    for (const std::string_view known :
         {paths::kBridgeXu, paths::kPluginXu, paths::kAveoXu, paths::kDriver, paths::kOtherKs, paths::kVideoProcAmp,
          paths::kCameraControl, paths::kUsb, paths::kSmi, paths::kAsicLib}) {
        if (known == path) return true;
    }
    return false;
}

}  // namespace kv::sim
