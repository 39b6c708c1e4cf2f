// The vendor register library: bridge registers, I2C transfers and extended
// commands on the extension-unit cameras, each operation on a worker thread
// of its own (waited for 500 ms) and under a mutex named for the library, so
// that the threads and processes using it take turns.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ctrl/xulib/SlotTable.h"
#include "ctrl/xulib/Worker.h"
#include "platform/Ports.h"
#include "wire/Limits.h"

namespace kv::ctrl::xulib {

inline constexpr const char* kLibraryMutexName = "Zelmar VideoClass HidClass Library";
constexpr unsigned kWorkerWaitMs = 500;
constexpr unsigned kMutexWaitMs = 1000;

class XuLibrary {
public:
    // `workers` counts every worker this library starts, late ones included;
    // an owner that must wait for them after the library is gone shares it.
    explicit XuLibrary(platform::Ports& ports, std::shared_ptr<WorkerGroup> workers = std::make_shared<WorkerGroup>());
    ~XuLibrary();
    XuLibrary(const XuLibrary&) = delete;
    XuLibrary& operator=(const XuLibrary&) = delete;

    // Nonzero when at least one camera was found. Closes first when open.
    int Open();
    void Close();

    // 0 or kE_FAIL. `value` gets 4 bytes, little-endian.
    platform::HResult RegRead(int device, int address, int length, std::int32_t* value);
    platform::HResult RegWrite(int device, int address, int length, const std::int32_t* value);
    // Register 6 bit 2 picks the port (clear for port 1); the I2C option of
    // later transfers becomes 0x10 when `option` is nonzero, once that worked.
    void SelectI2cPort(int device, int port, int option);
    // The address bytes of slave 0xA0 are swapped in the caller's buffer.
    platform::HResult I2cRead(int device, int slave, int addressCount, std::uint8_t* addressBytes, int dataCount,
                              std::uint8_t* data);
    platform::HResult I2cWrite(int device, int slave, int addressCount, std::uint8_t* addressBytes, int dataCount,
                               const std::uint8_t* data);
    platform::HResult AveoExWrite(int device, int command, std::uint8_t* data);

    // Waits until every worker of this library has ended, at most `limit`;
    // true when none is left. A process that ends while a late worker is
    // inside a transfer cuts the camera's request sequence short, and the
    // camera then refuses the next one.
    bool WaitForLateWorkers(std::chrono::milliseconds limit) { return m_workers->WaitUntilIdle(limit); }

    bool IsOpen() const { return m_open; }
    int CameraCount() const { return static_cast<int>(m_active.size()); }
    // The one-line text of the last operation, and of the last I2C read that
    // timed out (kept in memory only).
    std::string StatusText() const;
    std::string TimeoutText() const;

private:
    // What the workers share with the library; a late worker keeps it alive.
    struct Shared {
        std::shared_ptr<platform::NamedMutex> mutex;
        mutable std::mutex textGuard;
        std::string status;
        std::string timeout;
        void SetStatus(std::string text);
    };
    using Operation = std::function<platform::HResult(CameraLink&, Shared&)>;

    // Runs `operation` on the camera's link on a worker, under the named
    // mutex; kind-1 cameras are selected first when `select` is set.
    // `finished` tells whether the worker ended in time (its outputs may be
    // read then, and only then).
    platform::HResult Run(int device, bool select, Operation operation, bool* finished = nullptr);
    platform::HResult I2cTransfer(int device, int slave, int addressCount, std::uint8_t* addressBytes,
                                  std::vector<std::uint8_t> data, bool read, std::uint8_t* readInto);

    platform::Ports& m_ports;
    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
    std::shared_ptr<WorkerGroup> m_workers;  // this library's, late ones included
    std::shared_ptr<std::atomic<std::uint32_t>> m_aveoNode = std::make_shared<std::atomic<std::uint32_t>>(0);
    std::vector<DeviceSlot> m_slots;                    // remembered across opens
    std::vector<std::shared_ptr<CameraLink>> m_active;  // this open's links, by camera index
    bool m_open = false;
    std::uint16_t m_i2cOption = 0;
    unsigned m_workersStarted = 0;
};

}  // namespace kv::ctrl::xulib
