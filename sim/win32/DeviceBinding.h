// Which rig device a simulated capture filter stands for. Set once, when the
// device moniker hands the filter its property bag; every interface of the
// filter asks the device through it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "sim/rig/Session.h"

namespace kv::sim::win32 {

class DeviceBinding {
public:
    struct Target {
        std::shared_ptr<const Rig> rig;
        std::size_t device = 0;

        const RigDevice& Entry() const { return rig->Device(device); }
    };

    // False when the binding was made before.
    bool Bind(std::shared_ptr<const Rig> rig, std::size_t device);
    std::optional<Target> Get() const;

    // True when bound to a device that has the named interface (see
    // kInterfaceNames).
    bool Offers(const char* interfaceName) const;

    // One request to the device, hang included; E_UNEXPECTED before binding.
    HRESULT Ask(const std::function<Answer(Session&, std::size_t)>& call, ULONG* bytesReturned = nullptr) const;

    // The rig device of the filter bound last in this process; -1 before
    // any. kvsimcam.dll exports it for the stand-in SMIUtility.dll, whose
    // device object stands for the camera the program opened.
    static long LastBound();

private:
    mutable std::mutex mutex_;
    std::optional<Target> target_;
};

}  // namespace kv::sim::win32
