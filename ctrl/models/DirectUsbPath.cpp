// The direct USB path: finding the camera in the USB library's device list,
// and the class requests to its extension unit (unit 3, control selector 3;
// the low byte of wValue picks the operation).
#include "ctrl/models/DirectUsbPath.h"

#include <cstdio>

#include "ctrl/xulib/XuLib.h"
#include "platform/TextBasics.h"

namespace kv::ctrl {

namespace {

constexpr int kVendorId = 0xA168;
constexpr int kProductId = 0x09B0;
constexpr std::uint32_t kErrorDeviceNotConnected = 1167;  // ERROR_DEVICE_NOT_CONNECTED

constexpr std::uint8_t kSensorSlave = 0x78;
constexpr std::uint8_t kFlcSlave = 0x62;
constexpr std::uint16_t kUnitIndex = 0x0300;
constexpr std::uint16_t kWriteSensor = 0x0300;
constexpr std::uint16_t kReadSensor = 0x0301;
constexpr std::uint16_t kWriteFlc = 0x0302;
constexpr std::uint8_t kClassOut = 0x21;
constexpr std::uint8_t kClassIn = 0xA1;
constexpr std::uint8_t kSetCur = 0x01;
constexpr std::uint8_t kGetCur = 0x81;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The platform reports device instance ids in upper case while the camera
// table keeps them in lower case: compared exactly, the camera would never
// be found.
bool SameDeviceId(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

// Walks at most `count` entries from the first of our camera's product;
// only an entry that was compared and matched counts as found.
bool FindSelected(platform::UsbDeviceList& list, std::uint32_t count, const std::string& wanted) {
    const platform::UsbDeviceEntry* entry = list.FindByVidPid(kVendorId, kProductId);
    for (std::uint32_t i = 0; i < count && entry; ++i) {
        if (SameDeviceId(entry->deviceId, wanted)) return true;
        entry = list.MoveNext();
    }
    return false;
}

std::string FileNameOf(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

struct DirectUsbPath::State {
    std::unique_ptr<platform::UsbDeviceList> list;  // the list of the camera found last
    std::unique_ptr<platform::UsbHandle> handle;    // the camera opened last; null until one is
    std::uint32_t lastError = 0;
};

DirectUsbPath::DirectUsbPath(platform::Ports& ports) : m_ports(ports), m_state(std::make_unique<State>()) {}
DirectUsbPath::~DirectUsbPath() = default;

std::uint32_t DirectUsbPath::LastError() const { return m_state->lastError; }

// The console port ends each line itself: the texts below carry one line end
// less than the bytes that reach standard output.
int DirectUsbPath::OpenDirectUsbDevice(const std::string& selectedInstance) {
    platform::Console& console = m_ports.console;
    if (!m_ports.directUsb.LibraryLoads()) {
        console.WriteLine("libusbK.dll could not be loaded: the camera cannot be reached by direct USB requests.");
        return 0;
    }
    auto list = m_ports.directUsb.ListInit();
    if (!list) {
        console.WriteLine("Error initializing device list.");
        return 0;
    }
    const std::uint32_t count = list->Count();
    if (count == 0) {
        console.WriteLine("Device list empty.");
        m_state->lastError = kErrorDeviceNotConnected;
        return 0;  // the list goes with `list`
    }
    if (!FindSelected(*list, count, "usb\\" + selectedInstance)) {
        console.WriteLine(platform::FormatText("Device vid/pid %04X/%04X not found.\n", kVendorId, kProductId));
        console.WriteLine("USAGE: " + FileNameOf(m_ports.environment.ModulePath()) +
                          platform::FormatText(" vid=%04X pid=%04X\n", kVendorId, kProductId));
        return 0;
    }
    // A device takes one open handle at a time: the earlier one goes first.
    m_state->handle.reset();
    m_state->list = std::move(list);
    OpenEntry();
    return 1;
}

void DirectUsbPath::OpenEntry() {
    std::uint32_t error = 0;
    auto handle = m_state->list->OpenCurrent(error);
    if (!handle) {
        m_state->lastError = error;  // later requests fail quietly on the null handle
        char text[64];
        std::snprintf(text, sizeof text, "Usb.Init failed. ErrorCode: %08Xh", static_cast<unsigned>(error));
        m_ports.console.WriteLine(text);
        return;
    }
    // The pipes of alternate setting 0 are walked as the driver expects after
    // opening; nothing here uses their descriptions.
    platform::UsbPipeInfo pipe;
    for (std::uint8_t index = 0; index < 0xFF && handle->QueryPipe(0, index, pipe); ++index) {}
    m_state->handle = std::move(handle);
}

bool DirectUsbPath::Send(std::uint8_t requestType, std::uint8_t request, std::uint16_t value, std::uint8_t* data,
                         std::uint16_t length) {
    if (!m_state->handle) return false;
    std::uint32_t transferred = 0;
    return m_state->handle->ControlTransfer({requestType, request, value, kUnitIndex, length}, data, length,
                                            transferred);
}

bool DirectUsbPath::UsbKWriteSensorRegister(std::uint8_t value, std::uint16_t reg) {
    std::uint8_t data[4] = {kSensorSlave, static_cast<std::uint8_t>(reg >> 8), static_cast<std::uint8_t>(reg), value};
    return Send(kClassOut, kSetCur, kWriteSensor, data, sizeof data);
}

std::uint8_t DirectUsbPath::UsbKReadSensorRegister(std::uint16_t reg) {
    std::uint8_t address[3] = {kSensorSlave, static_cast<std::uint8_t>(reg >> 8), static_cast<std::uint8_t>(reg)};
    std::uint8_t value = 0xFF;
    Send(kClassOut, kSetCur, kReadSensor, address, sizeof address);
    Send(kClassIn, kGetCur, kReadSensor, &value, 1);
    return value;
}

bool DirectUsbPath::WriteFlcRegister(std::uint8_t reg, std::uint8_t value, int productId, int dev) {
    if (productId >= 0x9B0 && productId <= 0x9BF) {
        std::uint8_t data[3] = {kFlcSlave, reg, value};
        return Send(kClassOut, kSetCur, kWriteFlc, data, sizeof data);
    }
    xulib_SelectI2cPort(dev, 2, 0);
    std::uint8_t address[1] = {reg};
    const std::uint8_t data[1] = {value};
    return xulib_I2cWrite(dev, kFlcSlave, 1, address, 1, data) >= 0;
}

}  // namespace kv::ctrl
