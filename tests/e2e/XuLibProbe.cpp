// kv_xulib_probe: drives the register library through the program's own
// port set and its public functions, one command after another, printing
// one line per command.
//
//   kv_xulib_probe COMMAND...
//     open                         xulib_Open; prints "open N"
//     regread D ADDR LEN           prints "regread D ADDR = VALUE" or "... failed after N ms"
//     regwrite D ADDR LEN VALUE
//     port D PORT OPTION           xulib_SelectI2cPort
//     i2cwrite D SLAVE ADDR DATA   ADDR and DATA as hex byte strings ("3503", "-" for none)
//     i2cread D SLAVE ADDR COUNT   prints the bytes read
//     hammer D MS                  register writes and I2C writes for MS ms
//     bench D N                    N of each timed operation: median and 99th
//                                  percentile microseconds through the library,
//                                  and of the same requests sent straight to
//                                  the camera; the first operation's time
//     reads D N [direct]           N register reads, through the library or
//                                  straight through the camera's link
//     close
// Numbers in decimal or 0x hexadecimal. Exit status 0 when every command
// worked.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ctrl/ProgramPorts.h"
#include "ctrl/xulib/CameraProbe.h"
#include "ctrl/xulib/Worker.h"
#include "ctrl/xulib/XuLibrary.h"
#include "ctrl/xulib/XuLib.h"

namespace {

using namespace kv::ctrl;
using Clock = std::chrono::steady_clock;

int Number(const char* text) { return static_cast<int>(std::strtol(text, nullptr, 0)); }

std::vector<std::uint8_t> Bytes(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    if (hex == "-") return bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    }
    return bytes;
}

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

bool Report(const std::string& what, kv::platform::HResult hr, Clock::time_point start,
            const std::string& result = "") {
    if (hr == 0) {
        std::printf("%s%s\n", what.c_str(), result.empty() ? " ok" : (" = " + result).c_str());
        return true;
    }
    std::printf("%s failed after %lld ms\n", what.c_str(), MillisecondsSince(start));
    return false;
}

kv::platform::HResult WriteSensor(int device, int step) {
    std::uint8_t address[2] = {0x35, 0x03};
    const std::uint8_t data[1] = {static_cast<std::uint8_t>(step)};
    xulib_SelectI2cPort(device, 2, 0);
    return xulib_I2cWrite(device, 0x78, 2, address, 1, data);
}

// Microseconds of `count` runs of `operation`: the first run's (the first
// request after the open pays whatever the rig left for it), the median and
// the 99th percentile.
struct Times {
    long long first = 0;
    long long median = 0;
    long long p99 = 0;
};

template <class Operation>
Times Timed(int count, Operation operation) {
    std::vector<long long> times;
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        operation(i);
        times.push_back(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
    }
    if (times.empty()) return {};
    const long long first = times.front();
    std::sort(times.begin(), times.end());
    return {first, times[times.size() / 2], times[(times.size() * 99 + 99) / 100 - 1]};
}

// One operation timed through the library and, as the rig's own work, the
// same requests sent straight through the camera's link (no worker, no
// mutex).
void BenchOne(const char* name, int count, const std::function<void(int)>& library,
              const std::function<void(int)>& direct) {
    const Times through = Timed(count, library);
    const Times alone = Timed(count, direct);
    const double outside = through.median > 0 ? 100.0 * static_cast<double>(through.median - alone.median) /
                                                    static_cast<double>(through.median)
                                              : 0;
    std::printf(
        "bench %s: %lld us median, rig alone %lld us, %.0f%% outside the rig; 99th percentile %lld us, "
        "rig alone %lld us; first %lld us\n",
        name, through.median, alone.median, outside, through.p99, alone.p99, through.first);
}

bool Bench(kv::platform::Ports& ports, int device, int count) {
    const auto cameras = xulib::FindCameras(ports, std::make_shared<std::atomic<std::uint32_t>>(0));
    if (device < 0 || device >= static_cast<int>(cameras.size())) return false;
    xulib::CameraLink& link = *cameras[static_cast<std::size_t>(device)].link;
    std::int32_t value = 0;
    xulib::RegisterValue bytes{};
    std::uint8_t address[2] = {0x35, 0x03};
    const std::uint8_t data[1] = {1};
    const xulib::I2cTransfer transfer{xulib::kI2cHasAddress, 0x78, {0x35, 0x03}, {1}};
    BenchOne(
        "register read", count, [&](int) { xulib_RegRead(device, 0x30, 1, &value); },
        [&](int) { link.Select(), link.RegRead(0x30, 1, bytes); });
    BenchOne(
        "register write", count, [&](int i) { value = i & 0xFF, xulib_RegWrite(device, 0x30, 1, &value); },
        [&](int i) { bytes[0] = static_cast<std::uint8_t>(i), link.Select(), link.RegWrite(0x30, 1, bytes); });
    xulib_SelectI2cPort(device, 2, 0);
    BenchOne(
        "I2C write", count, [&](int) { xulib_I2cWrite(device, 0x78, 2, address, 1, data); },
        [&](int) { link.Select(), link.I2cWrite(transfer); });
    // What every operation pays by design: its worker thread and the mutex.
    const auto mutex = ports.sync.CreateNamedMutex(xulib::kLibraryMutexName);
    const long long bare = Timed(count, [&](int) {
                               xulib::RunOnWorker(
                                   [&] {
                                       if (mutex->Wait(xulib::kMutexWaitMs) == kv::platform::MutexWait::TimedOut)
                                           return kv::platform::kE_FAIL;
                                       mutex->Release();
                                       return kv::platform::kS_OK;
                                   },
                                   std::chrono::milliseconds(xulib::kWorkerWaitMs));
                           }).median;
    std::printf("bench worker thread and mutex alone: %lld us median\n", bare);
    return true;
}

bool Reads(kv::platform::Ports& ports, int device, int count, bool direct) {
    std::int32_t value = 0;
    if (!direct) {
        for (int i = 0; i < count; ++i) xulib_RegRead(device, 0x30, 1, &value);
        return true;
    }
    const auto cameras = xulib::FindCameras(ports, std::make_shared<std::atomic<std::uint32_t>>(0));
    if (device < 0 || device >= static_cast<int>(cameras.size())) return false;
    xulib::RegisterValue bytes{};
    for (int i = 0; i < count; ++i)
        cameras[static_cast<std::size_t>(device)].link->Select(),
            cameras[static_cast<std::size_t>(device)].link->RegRead(0x30, 1, bytes);
    return true;
}

bool Hammer(int device, int milliseconds) {
    const auto start = Clock::now();
    int operations = 0;
    int failed = 0;
    for (int step = 0; MillisecondsSince(start) < milliseconds; ++step) {
        std::int32_t value = step & 0xFF;
        failed += xulib_RegWrite(device, 0x30, 1, &value) != 0;
        failed += WriteSensor(device, step) != 0;
        operations += 2;
    }
    std::printf("hammer %d: %d operations, %d failed\n", device, operations, failed);
    return failed == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto system = MakeProgramPorts(argc, argv);
    // Never destroyed, as the program's is not: ending the library at exit
    // would close its cameras once more.
    static xulib::XuLibrary* const library = new xulib::XuLibrary(system->ports());
    const XuLibAttachment attachment(*library);
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::string command = argv[i];
        const int left = argc - i - 1;
        const auto start = Clock::now();
        char what[96];
        if (command == "open") {
            std::printf("open %d\n", xulib_Open());
        } else if (command == "close") {
            xulib_Close();
            std::printf("close\n");
        } else if (command == "regread" && left >= 3) {
            std::int32_t value = 0;
            std::snprintf(what, sizeof what, "regread %s %s", argv[i + 1], argv[i + 2]);
            const auto hr = xulib_RegRead(Number(argv[i + 1]), Number(argv[i + 2]), Number(argv[i + 3]), &value);
            char shown[16];
            std::snprintf(shown, sizeof shown, "0x%X", static_cast<unsigned>(value));
            ok &= Report(what, hr, start, shown);
            i += 3;
        } else if (command == "regwrite" && left >= 4) {
            const std::int32_t value = Number(argv[i + 4]);
            std::snprintf(what, sizeof what, "regwrite %s %s", argv[i + 1], argv[i + 2]);
            ok &= Report(what, xulib_RegWrite(Number(argv[i + 1]), Number(argv[i + 2]), Number(argv[i + 3]), &value),
                         start);
            i += 4;
        } else if (command == "port" && left >= 3) {
            xulib_SelectI2cPort(Number(argv[i + 1]), Number(argv[i + 2]), Number(argv[i + 3]));
            std::printf("port %s %s\n", argv[i + 1], argv[i + 2]);
            i += 3;
        } else if (command == "i2cwrite" && left >= 4) {
            auto address = Bytes(argv[i + 3]);
            const auto data = Bytes(argv[i + 4]);
            std::snprintf(what, sizeof what, "i2cwrite %s %s", argv[i + 1], argv[i + 2]);
            ok &= Report(what,
                         xulib_I2cWrite(Number(argv[i + 1]), Number(argv[i + 2]), static_cast<int>(address.size()),
                                        address.data(), static_cast<int>(data.size()), data.data()),
                         start);
            i += 4;
        } else if (command == "i2cread" && left >= 4) {
            auto address = Bytes(argv[i + 3]);
            std::vector<std::uint8_t> data(static_cast<std::size_t>(std::max(0, Number(argv[i + 4]))));
            std::snprintf(what, sizeof what, "i2cread %s %s", argv[i + 1], argv[i + 2]);
            const auto hr = xulib_I2cRead(Number(argv[i + 1]), Number(argv[i + 2]), static_cast<int>(address.size()),
                                          address.data(), static_cast<int>(data.size()), data.data());
            std::string shown;
            for (const std::uint8_t byte : data) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%02X", byte);
                shown += hex;
            }
            ok &= Report(what, hr, start, shown);
            i += 4;
        } else if (command == "hammer" && left >= 2) {
            ok &= Hammer(Number(argv[i + 1]), Number(argv[i + 2]));
            i += 2;
        } else if (command == "reads" && left >= 2) {
            const bool direct = left >= 3 && std::string(argv[i + 3]) == "direct";
            ok &= Reads(system->ports(), Number(argv[i + 1]), Number(argv[i + 2]), direct);
            i += direct ? 3 : 2;
        } else if (command == "bench" && left >= 2) {
            ok &= Bench(system->ports(), Number(argv[i + 1]), Number(argv[i + 2]));
            i += 2;
        } else {
            std::fprintf(stderr, "kv_xulib_probe: cannot read command '%s'\n", command.c_str());
            return 2;
        }
        std::fflush(stdout);
    }
    library->WaitForLateWorkers(std::chrono::milliseconds(xulib::kMutexWaitMs));
    return ok ? 0 : 1;
}
