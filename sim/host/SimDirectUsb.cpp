// Direct-USB port served from a simulated rig.
#include "sim/host/SimDirectUsb.h"

#include <vector>

namespace kv::sim::host {

namespace {

// Win32 error codes that a failed open reports.
constexpr std::uint32_t kErrorGenFailure = 31;

std::uint32_t Win32ErrorOf(platform::HResult hr) {
    const auto code = static_cast<std::uint32_t>(hr);
    return (code & 0xFFFF0000u) == 0x80070000u ? (code & 0xFFFFu) : kErrorGenFailure;
}

class SimUsbHandle : public platform::UsbHandle {
public:
    SimUsbHandle(SimContext& context, std::size_t device) : m_context(context), m_device(device) {}
    bool ControlTransfer(const platform::UsbSetupPacket& setup, std::uint8_t* buffer, std::uint32_t bufferLength,
                         std::uint32_t& transferred) override {
        const UsbSetup packet{setup.requestType, setup.request, setup.value, setup.index, setup.length};
        const Answer answer =
            m_context.Settle(m_context.session().UsbControl(m_device, packet, {buffer, buffer ? bufferLength : 0u}));
        transferred = answer.bytesReturned;
        return platform::Succeeded(answer.hr);
    }
    // The model describes no pipes: the first query ends the walk over them.
    bool QueryPipe(std::uint8_t, std::uint8_t, platform::UsbPipeInfo&) override { return false; }

private:
    SimContext& m_context;
    std::size_t m_device;
};

class SimUsbDeviceList : public platform::UsbDeviceList {
public:
    explicit SimUsbDeviceList(SimContext& context) : m_context(context) {
        for (const int device : context.rig().DirectUsbDevices()) {
            const RigDevice& rigDevice = context.rig().Device(static_cast<std::size_t>(device));
            m_devices.push_back(static_cast<std::size_t>(device));
            m_entries.push_back({rigDevice.config.vendorId, rigDevice.config.productId, rigDevice.listing.usbInstanceId,
                                 rigDevice.listing.usbDriverId});
        }
    }
    std::uint32_t Count() override { return static_cast<std::uint32_t>(m_entries.size()); }
    const platform::UsbDeviceEntry* FindByVidPid(int vid, int pid) override {
        for (m_cursor = 0; m_cursor < m_entries.size(); ++m_cursor) {
            if (m_entries[m_cursor].vid == vid && m_entries[m_cursor].pid == pid) return &m_entries[m_cursor];
        }
        return nullptr;
    }
    const platform::UsbDeviceEntry* MoveNext() override {
        if (m_cursor == kBeforeFirst) {
            m_cursor = 0;
        } else if (m_cursor < m_entries.size()) {
            ++m_cursor;
        }
        return m_cursor < m_entries.size() ? &m_entries[m_cursor] : nullptr;
    }
    std::unique_ptr<platform::UsbHandle> OpenCurrent(std::uint32_t& lastError) override {
        if (m_cursor >= m_entries.size()) return nullptr;
        const Answer answer = m_context.Settle(m_context.session().UsbOpen(m_devices[m_cursor]));
        if (platform::Failed(answer.hr)) {
            lastError = Win32ErrorOf(answer.hr);
            return nullptr;
        }
        return std::make_unique<SimUsbHandle>(m_context, m_devices[m_cursor]);
    }

private:
    SimContext& m_context;
    std::vector<std::size_t> m_devices;
    std::vector<platform::UsbDeviceEntry> m_entries;
    static constexpr std::size_t kBeforeFirst = static_cast<std::size_t>(-1);
    std::size_t m_cursor = kBeforeFirst;
};

}  // namespace

std::unique_ptr<platform::UsbDeviceList> SimDirectUsb::ListInit() {
    return std::make_unique<SimUsbDeviceList>(m_context);
}

}  // namespace kv::sim::host
