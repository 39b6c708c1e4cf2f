// The register library: open and close, the camera table, and the public
// operations, each run on a worker under the library's named mutex.
#include "ctrl/xulib/XuLibrary.h"

#include <cstdio>
#include <cstring>

#include "ctrl/xulib/InstallCheck.h"
#include "platform/TextBasics.h"
#include "wire/KsProperty.h"

namespace kv::ctrl::xulib {

namespace {

using platform::HResult;
using platform::kE_FAIL;
using platform::kS_OK;

constexpr std::uint16_t kPortRegister = 6;
constexpr std::uint8_t kPortBit = 0x04;
constexpr int kEepromSlave = 0xA0;

std::uint32_t ValueOf(const RegisterValue& value) { return wire::ReadLe32(value, 0); }

// Register 6 bit 2 cleared, as the EEPROM slave 0xA0 needs; left alone when
// the register cannot be read.
void SelectEepromPort(CameraLink& link) {
    RegisterValue port{};
    if (platform::Failed(link.RegRead(kPortRegister, 1, port))) return;
    port[0] = static_cast<std::uint8_t>(port[0] & ~kPortBit);
    link.RegWrite(kPortRegister, 1, port);
}

}  // namespace

void XuLibrary::Shared::SetStatus(std::string text) {
    const std::lock_guard<std::mutex> lock(textGuard);
    status = std::move(text);
}

XuLibrary::XuLibrary(platform::Ports& ports, std::shared_ptr<WorkerGroup> workers)
    : m_ports(ports), m_workers(std::move(workers)) {}

XuLibrary::~XuLibrary() { Close(); }

std::string XuLibrary::StatusText() const {
    const std::lock_guard<std::mutex> lock(m_shared->textGuard);
    return m_shared->status;
}

std::string XuLibrary::TimeoutText() const {
    const std::lock_guard<std::mutex> lock(m_shared->textGuard);
    return m_shared->timeout;
}

int XuLibrary::Open() {
    m_shared->SetStatus(platform::FormatText("%s %s", "Jan 19 2016", "10:20:30"));  // the library's build stamp
    if (m_open) Close();
    m_ports.comApartment.Initialize();
    // Without the platform's proxy there is no plug-in registration to check.
    if (m_ports.environment.IsWindows()) RunInstallCheck(m_ports);
    Reconcile(m_slots, FindCameras(m_ports, m_aveoNode));
    m_active.clear();
    for (const DeviceSlot& slot : m_slots) m_active.push_back(slot.link);
    if (m_active.empty()) return 0;
    m_shared->mutex = m_ports.sync.CreateNamedMutex(kLibraryMutexName);
    m_open = true;
    return 1;
}

void XuLibrary::Close() {
    if (!m_open) return;
    // A worker that outlived its 500 ms may still be inside a transfer on
    // these links. Past its mutex wait it holds the mutex for one transfer,
    // so the close waits for it as long as a worker waits for the mutex, and
    // no longer: one that is later still keeps its link, and the plug-in its
    // control, alive by its own references until it is done.
    m_workers->WaitUntilIdle(std::chrono::milliseconds(kMutexWaitMs));
    // The first plug-in camera's end empties the plug-in's list for all.
    for (const auto& link : m_active) link->Close();
    m_active.clear();
    m_shared->mutex.reset();  // a late worker keeps its own reference
    m_open = false;
    m_ports.comApartment.Uninitialize();
}

HResult XuLibrary::Run(int device, bool select, Operation operation, bool* finished) {
    if (finished != nullptr) *finished = false;
    if (!m_open) return kE_FAIL;
    if (device < 0 || device >= static_cast<int>(m_active.size()) || !m_active[static_cast<std::size_t>(device)]) {
        return kE_FAIL;  // no camera there: the mutex is not touched
    }
    const auto link = m_active[static_cast<std::size_t>(device)];
    const auto shared = m_shared;
    const auto mutex = m_shared->mutex;
    ++m_workersStarted;
    const WorkerOutcome outcome = RunOnWorker(
        [=]() -> HResult {
            if (!mutex) return kE_FAIL;
            // An abandoned mutex is ours all the same: its owner died mid
            // transfer, and refusing it would leave it owned by a thread
            // that exits, failing every later operation of every process.
            const platform::MutexWait wait = mutex->Wait(kMutexWaitMs);
            if (wait != platform::MutexWait::Acquired && wait != platform::MutexWait::Abandoned) return kE_FAIL;
            HResult hr = select ? link->Select() : kS_OK;
            if (platform::Succeeded(hr)) hr = operation(*link, *shared);
            mutex->Release();
            return platform::Failed(hr) ? kE_FAIL : kS_OK;
        },
        std::chrono::milliseconds(kWorkerWaitMs), m_workers);
    if (finished != nullptr) *finished = outcome.finished;
    return outcome.finished ? outcome.result : kE_FAIL;
}

HResult XuLibrary::RegRead(int device, int address, int length, std::int32_t* value) {
    if (value == nullptr) return kE_FAIL;
    const auto read = std::make_shared<RegisterValue>();
    const auto registerAddress = static_cast<std::uint16_t>(address);
    const HResult hr = Run(device, true, [=](CameraLink& link, Shared& shared) {
        const HResult result = link.RegRead(registerAddress, length, *read);
        const bool ok = platform::Succeeded(result);
        const unsigned number = ValueOf(*read);
        if (link.Kind() == kAveoKind) {
            shared.SetStatus(
                ok ? platform::FormatText("vidxu_Aveo_RegRead  Index:0x%08x  -> 0x%08x OK", address, number)
                   : platform::FormatText("vidxu_Aveo_RegRead  Index:0x%08x  -> Fail", address));
        } else {
            shared.SetStatus(
                ok ? platform::FormatText("vidxu_RegRead  Index:0x%08x  Len:%x -> 0x%08x OK", address, length, number)
                   : platform::FormatText("vidxu_RegRead  Index:0x%08x  Len:%x -> Fail", address, length));
        }
        return result;
    });
    if (platform::Succeeded(hr)) std::memcpy(value, read->data(), read->size());
    return hr;
}

HResult XuLibrary::RegWrite(int device, int address, int length, const std::int32_t* value) {
    if (value == nullptr) return kE_FAIL;
    RegisterValue bytes{};
    std::memcpy(bytes.data(), value, bytes.size());
    const auto registerAddress = static_cast<std::uint16_t>(address);
    return Run(device, true, [=](CameraLink& link, Shared& shared) {
        const HResult result = link.RegWrite(registerAddress, length, bytes);
        if (link.Kind() == kPluginKind) {
            shared.SetStatus(
                platform::Succeeded(result)
                    ? platform::FormatText("vidxu_RegWrite  Index:0x%08x  Len:%x -> 0x%08x OK", address, length,
                                           ValueOf(bytes))
                    : platform::FormatText("vidxu_RegWite  Index:0x%08x  Len:%x -> Fail", address, length));
        }
        return result;
    });
}

void XuLibrary::SelectI2cPort(int device, int port, int option) {
    if (!m_open) return;
    std::int32_t value = 0;
    if (platform::Failed(RegRead(device, kPortRegister, 1, &value))) return;
    value = port == 1 ? (value & ~kPortBit) : (value | kPortBit);
    if (platform::Succeeded(RegWrite(device, kPortRegister, 1, &value))) m_i2cOption = option != 0 ? kI2cOption : 0;
}

HResult XuLibrary::I2cRead(int device, int slave, int addressCount, std::uint8_t* addressBytes, int dataCount,
                           std::uint8_t* data) {
    if (dataCount < 0 || dataCount > wire::kMaxTransferBytes || (dataCount > 0 && data == nullptr)) return kE_FAIL;
    return I2cTransfer(device, slave, addressCount, addressBytes,
                       std::vector<std::uint8_t>(static_cast<std::size_t>(dataCount), 0), true, data);
}

HResult XuLibrary::I2cWrite(int device, int slave, int addressCount, std::uint8_t* addressBytes, int dataCount,
                            const std::uint8_t* data) {
    if (dataCount < 0 || dataCount > wire::kMaxTransferBytes || (dataCount > 0 && data == nullptr)) return kE_FAIL;
    return I2cTransfer(device, slave, addressCount, addressBytes, std::vector<std::uint8_t>(data, data + dataCount),
                       false, nullptr);
}

HResult XuLibrary::I2cTransfer(int device, int slave, int addressCount, std::uint8_t* addressBytes,
                               std::vector<std::uint8_t> data, bool read, std::uint8_t* readInto) {
    if (!m_open) return kE_FAIL;
    if (addressCount < 0 || addressCount > wire::kMaxTransferBytes || (addressCount > 0 && addressBytes == nullptr)) {
        return kE_FAIL;
    }
    const bool eeprom = (slave & 0xFF) == kEepromSlave;
    if (eeprom && addressCount >= 2) std::swap(addressBytes[0], addressBytes[1]);
    auto transfer = std::make_shared<xulib::I2cTransfer>();
    transfer->slave = static_cast<std::uint8_t>(slave);
    transfer->address.assign(addressBytes, addressBytes + addressCount);
    transfer->data = std::move(data);
    transfer->flags = static_cast<std::uint16_t>((addressCount > 0 ? kI2cHasAddress : 0) | (eeprom ? 0 : m_i2cOption));
    bool finished = false;
    const HResult hr = Run(
        device, true,
        [=](CameraLink& link, Shared& shared) {
            if (eeprom) SelectEepromPort(link);
            const HResult result = read ? link.I2cRead(*transfer) : link.I2cWrite(*transfer);
            if (read && link.Kind() == kAveoKind && platform::Failed(result)) {
                const unsigned index = transfer->address.size() >= 2
                                           ? transfer->address[0] * 256u + transfer->address[1]
                                       : transfer->address.empty() ? 0u
                                                                   : transfer->address[0] * 256u;
                shared.SetStatus(platform::FormatText("vidxu_Aveo_I2cRead  Index:0x%08x  -> Fail", index));
            }
            return result;
        },
        &finished);
    if (read && !finished && device >= 0 && device < static_cast<int>(m_active.size())) {
        // Portable code has no thread handle to show: the worker's serial
        // number stands in for it.
        const std::lock_guard<std::mutex> lock(m_shared->textGuard);
        m_shared->timeout = platform::FormatText("I2CRead Thread TimeOut Thread:%x", m_workersStarted);
    }
    if (read && platform::Succeeded(hr)) std::memcpy(readInto, transfer->data.data(), transfer->data.size());
    return hr;
}

HResult XuLibrary::AveoExWrite(int device, int command, std::uint8_t* data) {
    if (data == nullptr) return kE_FAIL;
    auto block = std::make_shared<CommandBlock>();
    std::memcpy(block->data(), data, block->size());
    const std::uint16_t option = m_i2cOption;
    // No SwitchHandle: a plug-in command reaches the camera the plug-in
    // selected last.
    bool finished = false;
    const HResult hr = Run(
        device, false,
        [=](CameraLink& link, Shared& shared) {
            CommandBlock sent{};
            const HResult result = link.Extended(command, *block, option, sent);
            if (platform::Succeeded(result) && link.Kind() == kAveoKind) {
                shared.SetStatus(platform::FormatText("AveoExWrite Cmd:0x%02x Data[0-3]:0x%02x, 0x%02x, 0x%02x, 0x%02x",
                                                      command, sent[0], sent[1], sent[2], sent[3]));
            }
            return result;
        },
        &finished);
    // Command 3 clears the caller's block on a plug-in camera.
    if (finished) std::memcpy(data, block->data(), block->size());
    return hr;
}

}  // namespace kv::ctrl::xulib
