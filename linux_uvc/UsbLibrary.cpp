// The direct USB adapter's calls, made on libusb-1.0.
#include "linux_uvc/UsbLibrary.h"

#include <libusb.h>

#include "platform/TextBasics.h"

namespace kv::platform::linux_uvc {

static_assert(kUsbErrorAccess == LIBUSB_ERROR_ACCESS && kUsbErrorNoDevice == LIBUSB_ERROR_NO_DEVICE &&
              kUsbErrorNotFound == LIBUSB_ERROR_NOT_FOUND && kUsbErrorBusy == LIBUSB_ERROR_BUSY);

namespace {

// The kernel's name of a device: bus, then the port at each hub ("1-2.3").
std::string PortPathOf(libusb_device* device) {
    std::uint8_t ports[8];
    const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    if (depth <= 0) return {};
    std::string path = std::to_string(libusb_get_bus_number(device));
    for (int i = 0; i < depth; ++i) path += (i == 0 ? "-" : ".") + std::to_string(ports[i]);
    return path;
}

std::vector<UsbPipeInfo> EndpointsOf(const libusb_config_descriptor& config, int interfaceNumber, int altSetting) {
    std::vector<UsbPipeInfo> pipes;
    for (int i = 0; i < config.bNumInterfaces; ++i) {
        const libusb_interface& candidate = config.interface[i];
        for (int a = 0; a < candidate.num_altsetting; ++a) {
            const libusb_interface_descriptor& setting = candidate.altsetting[a];
            if (setting.bInterfaceNumber != interfaceNumber || setting.bAlternateSetting != altSetting) continue;
            for (int e = 0; e < setting.bNumEndpoints; ++e) {
                const libusb_endpoint_descriptor& endpoint = setting.endpoint[e];
                pipes.push_back({endpoint.bmAttributes & 0x03, endpoint.bEndpointAddress, endpoint.wMaxPacketSize,
                                 endpoint.bInterval});
            }
        }
    }
    return pipes;
}

class SystemDeviceHandle : public UsbDeviceHandle {
public:
    SystemDeviceHandle(std::shared_ptr<void> context, libusb_device_handle* handle)
        : m_context(std::move(context)), m_handle(handle) {}
    ~SystemDeviceHandle() override { libusb_close(m_handle); }
    SystemDeviceHandle(const SystemDeviceHandle&) = delete;
    SystemDeviceHandle& operator=(const SystemDeviceHandle&) = delete;

    int DetachKernelDriver(int interfaceNumber) override {
        return libusb_detach_kernel_driver(m_handle, interfaceNumber);
    }
    int ClaimInterface(int interfaceNumber) override { return libusb_claim_interface(m_handle, interfaceNumber); }
    int ControlTransfer(const UsbSetupPacket& setup, std::uint8_t* data, unsigned timeoutMs) override {
        return libusb_control_transfer(m_handle, setup.requestType, setup.request, setup.value, setup.index, data,
                                       setup.length, timeoutMs);
    }
    int ReleaseInterface(int interfaceNumber) override { return libusb_release_interface(m_handle, interfaceNumber); }
    int AttachKernelDriver(int interfaceNumber) override {
        return libusb_attach_kernel_driver(m_handle, interfaceNumber);
    }
    std::vector<UsbPipeInfo> Endpoints(int interfaceNumber, int altSetting) override {
        libusb_config_descriptor* config = nullptr;
        if (libusb_get_active_config_descriptor(libusb_get_device(m_handle), &config) != 0) return {};
        auto pipes = EndpointsOf(*config, interfaceNumber, altSetting);
        libusb_free_config_descriptor(config);
        return pipes;
    }

private:
    std::shared_ptr<void> m_context;  // outlives the handle
    libusb_device_handle* m_handle;
};

class SystemDeviceSet : public UsbDeviceSet {
public:
    SystemDeviceSet(std::shared_ptr<void> context, libusb_device** list, ssize_t count)
        : m_context(std::move(context)), m_list(list) {
        for (ssize_t i = 0; i < count; ++i) {
            libusb_device_descriptor descriptor{};
            if (libusb_get_device_descriptor(list[i], &descriptor) != 0) continue;
            m_devices.push_back(list[i]);
            m_facts.push_back({descriptor.idVendor, descriptor.idProduct, PortPathOf(list[i]),
                               FormatText("/dev/bus/usb/%03u/%03u", unsigned{libusb_get_bus_number(list[i])},
                                          unsigned{libusb_get_device_address(list[i])})});
        }
    }
    ~SystemDeviceSet() override { libusb_free_device_list(m_list, 1); }
    SystemDeviceSet(const SystemDeviceSet&) = delete;
    SystemDeviceSet& operator=(const SystemDeviceSet&) = delete;

    const std::vector<UsbDeviceFacts>& Devices() const override { return m_facts; }
    int Open(std::size_t index, std::unique_ptr<UsbDeviceHandle>& handle) override {
        if (index >= m_devices.size()) return kUsbErrorNotFound;
        libusb_device_handle* opened = nullptr;
        const int error = libusb_open(m_devices[index], &opened);
        if (error == 0) handle = std::make_unique<SystemDeviceHandle>(m_context, opened);
        return error;
    }

private:
    std::shared_ptr<void> m_context;
    libusb_device** m_list;
    std::vector<libusb_device*> m_devices;
    std::vector<UsbDeviceFacts> m_facts;
};

}  // namespace

std::unique_ptr<UsbDeviceSet> SystemUsbLibrary::ListDevices(int& error) {
    if (!m_context) {
        libusb_context* context = nullptr;
        error = libusb_init(&context);
        if (error != 0) return nullptr;
        m_context.reset(context, [](void* made) { libusb_exit(static_cast<libusb_context*>(made)); });
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(static_cast<libusb_context*>(m_context.get()), &list);
    if (count < 0) {
        error = static_cast<int>(count);
        return nullptr;
    }
    error = 0;
    return std::make_unique<SystemDeviceSet>(m_context, list, count);
}

std::string SystemUsbLibrary::ErrorText(int error) { return libusb_strerror(error); }

}  // namespace kv::platform::linux_uvc
