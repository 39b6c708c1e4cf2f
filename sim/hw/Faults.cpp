// Fault matching and the default failure codes of each path.
#include "sim/hw/Faults.h"

#include "sim/hw/KsTypes.h"

namespace kv::sim {

const FaultSpec* MatchFault(const CameraConfig& config, std::string_view path, std::string_view op,
                            std::optional<std::uint32_t> id) {
    for (const FaultSpec& fault : config.faults) {
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
    return kHrGenFailure;
}

bool IsKnownPath(std::string_view path) {
    for (const std::string_view known : {paths::kBridgeXu, paths::kPluginXu, paths::kAveoXu, paths::kDriver,
                                         paths::kOtherKs, paths::kVideoProcAmp, paths::kCameraControl, paths::kUsb,
                                         paths::kSmi, paths::kAsicLib}) {
        if (known == path) return true;
    }
    return false;
}

}  // namespace kv::sim
