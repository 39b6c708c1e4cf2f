// Test helper process: a long-running program that holds the
// ClientPropertyPageLIB stand-in while its rig is edited (KV_SIM_RIG names
// the rig).
//
//   sim_stale_rig_helper LIBRARY FOLDER
//
// Writes bridge register 0x3000 (so the stand-in has loaded the rig), creates
// FOLDER\ready, waits up to 60 s for FOLDER\go, then reads register 0x3001
// and writes its value in decimal to FOLDER\result. Exit status 0 when every
// call succeeded.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/sim/win32/WinTestSupport.h"

namespace {

namespace fs = std::filesystem;

bool WaitFor(const fs::path& file) {
    for (int i = 0; i < 600; ++i) {
        if (fs::exists(file)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sim_stale_rig_helper LIBRARY FOLDER\n");
        return 2;
    }
    const kv::sim::win32::test::Library library(argv[1]);
    const auto init = library.As<int (*)()>("?InitialLIB@@YAHXZ");
    const auto read = library.As<int (*)(long, long*)>("?ReadAsic@@YAHJPAJ@Z");
    const auto write = library.As<int (*)(long, long)>("?WriteAsic@@YAHJJ@Z");
    if (!init || !read || !write) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    const fs::path folder(argv[2]);
    if (!init() || !write(0x3000, 1)) return 1;
    std::ofstream(folder / "ready") << "ready\n";
    if (!WaitFor(folder / "go")) return 1;
    long value = -1;
    if (!read(0x3001, &value)) return 1;
    std::ofstream(folder / "result") << value << "\n";
    return 0;
}
