// Direct-USB port on POSIX: a USB library with no device attached.
#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {

namespace {

class EmptyUsbDeviceList : public UsbDeviceList {
public:
    std::uint32_t Count() override { return 0; }
    const UsbDeviceEntry* FindByVidPid(int, int) override { return nullptr; }
    const UsbDeviceEntry* MoveNext() override { return nullptr; }
    std::unique_ptr<UsbHandle> OpenCurrent(std::uint32_t& lastError) override {
        lastError = 1167;  // the platform's "device not connected"
        return nullptr;
    }
};

}  // namespace

std::unique_ptr<UsbDeviceList> PosixDirectUsb::ListInit() { return std::make_unique<EmptyUsbDeviceList>(); }

}  // namespace kv::platform::posix
