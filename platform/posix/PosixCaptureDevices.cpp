// Capture-devices port on POSIX: an empty video-input category.
#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {

namespace {

class EmptyDeviceEnumerator : public DeviceEnumerator {
public:
    HResult CreateVideoInputEnumerator(std::unique_ptr<MonikerEnumerator>& enumerator) override {
        enumerator.reset();
        return kS_FALSE;  // what the platform answers for an empty category
    }
};

}  // namespace

HResult PosixCaptureDevices::CreateSystemDeviceEnumerator(std::unique_ptr<DeviceEnumerator>& enumerator) {
    enumerator = std::make_unique<EmptyDeviceEnumerator>();
    return kS_OK;
}

}  // namespace kv::platform::posix
