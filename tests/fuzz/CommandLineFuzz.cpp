// Fuzz target: any command line through normalisation, the program-path
// mask, the keyword search and the help decision, and the same bytes as a device path through the
// camera table and the product-id rule.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ctrl/cli/CameraTable.h"
#include "ctrl/cli/CommandLine.h"
#include "ctrl/common/ProgramPath.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);
    const std::string line = kv::ctrl::NormaliseCommandLine(raw);
    const kv::ctrl::ParsedCommand command = kv::ctrl::ParseCommandLine(line);
    kv::ctrl::IsHelpRequested(command, line);
    if (command.nCamNum < 0 || command.nCamNum > 9) std::abort();
    // Masking the program path keeps every index: same length, same arguments.
    const std::string masked = kv::ctrl::MaskProgramPath(raw, "C:\\Korvex\\KV_DS_Ctrl.exe");
    const std::size_t path = kv::ctrl::ProgramPathLength(raw, "C:\\Korvex\\KV_DS_Ctrl.exe");
    if (masked.size() != raw.size() || path > raw.size() || masked.compare(path, std::string::npos, raw, path) != 0) {
        std::abort();
    }
    kv::ctrl::ParseCommandLine(kv::ctrl::NormaliseCommandLine(masked));

    kv::ctrl::CameraTable table;
    for (int i = 0; i <= kv::ctrl::CameraTable::kCapacity; ++i) table.Add(line);
    if (table.nCamCount() != kv::ctrl::CameraTable::kCapacity) std::abort();
    const std::string sPid = kv::ctrl::PidText(table.at(0).strPathTail);
    if (sPid.size() > 4) std::abort();
    kv::ctrl::ProductIdFromPidText(sPid);
    return 0;
}
