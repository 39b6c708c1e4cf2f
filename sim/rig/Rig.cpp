// Rig loading, its file names, and device look-ups.
#include "sim/rig/Rig.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "platform/TextBasics.h"
#include "sim/rig/FileIo.h"
#include "sim/rig/RigFile.h"
#include "sim/rig/StateCache.h"

namespace kv::sim {

namespace {

// FNV-1a, 64 bits: enough to tell rig versions apart, and the same on every build.
std::string Fingerprint(const std::string& text) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001B3ull;
    }
    char buf[24];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(hash));
    return buf;
}

std::filesystem::path Beside(const std::filesystem::path& rig, const char* suffix) {
    std::filesystem::path base = rig;
    if (base.extension() == ".json") base.replace_extension();
    base += suffix;
    return base;
}

// The program's camera table takes a device when its lower-cased device path
// holds "vid_xxxx" after the first character; a device without a path is not
// in it.
bool PathNamesVendor(const DeviceListing& listing, std::uint16_t vid) {
    if (!listing.devicePath) return false;
    const std::string path = platform::ToLower(*listing.devicePath);
    const std::size_t at = path.find(platform::FormatText("vid_%04x", static_cast<unsigned>(vid)));
    return at != std::string::npos && at > 0;
}

template <class Pred>
std::vector<int> Matching(const RigDescription& description, Pred pred) {
    std::vector<int> found;
    for (std::size_t i = 0; i < description.devices.size(); ++i) {
        if (pred(description.devices[i])) found.push_back(static_cast<int>(i));
    }
    return found;
}

}  // namespace

Rig::Rig(std::filesystem::path file, RigDescription description, const std::string& text)
    : file_(std::move(file)),
      description_(std::move(description)),
      statePath_(Beside(file_, ".state.json")),
      tracePath_(Beside(file_, ".trace.jsonl")),
      lockPath_(Beside(file_, ".lock")),
      fingerprint_(Fingerprint(text)),
      stateCache_(std::make_unique<StateCache>(lockPath_)) {}

Rig::~Rig() = default;

std::unique_ptr<Rig> Rig::Load(const std::filesystem::path& file, std::string& error) {
    RigDescription description;
    std::string text;
    if (!ReadRigFile(file, description, text, error)) return nullptr;
    return std::unique_ptr<Rig>(new Rig(file, std::move(description), text));
}

std::unique_ptr<Rig> Rig::FromText(const std::filesystem::path& file, const std::string& text, std::string& error) {
    RigDescription description;
    if (!ParseRigText(text, description, error)) {
        error = file.string() + ": " + error;
        return nullptr;
    }
    return std::unique_ptr<Rig>(new Rig(file, std::move(description), text));
}

bool Rig::FileChanged() const {
    std::string text;
    std::string error;
    return ReadWholeFile(file_, text, error) == ReadResult::Ok && Fingerprint(text) != fingerprint_;
}

int Rig::FindByVidPid(std::uint16_t vid, std::uint16_t pid) const {
    const auto found = Matching(
        description_, [&](const RigDevice& d) { return d.config.vendorId == vid && d.config.productId == pid; });
    return found.empty() ? -1 : found.front();
}

int Rig::FindByVidPidPosition(std::uint16_t vid, std::uint16_t pid, int position) const {
    const auto inTable = Matching(description_, [&](const RigDevice& d) { return PathNamesVendor(d.listing, vid); });
    if (position < 0 || static_cast<std::size_t>(position) >= inTable.size()) return -1;
    const int index = inTable[static_cast<std::size_t>(position)];
    return description_.devices[static_cast<std::size_t>(index)].config.productId == pid ? index : -1;
}

std::vector<int> Rig::SmiDevices() const {
    return Matching(description_, [](const RigDevice& d) { return d.config.smi; });
}

std::vector<int> Rig::AsicLibDevices() const {
    return Matching(description_, [](const RigDevice& d) { return d.config.asicLib; });
}

std::vector<int> Rig::DirectUsbDevices() const {
    return Matching(description_, [](const RigDevice& d) { return d.config.directUsb; });
}

std::filesystem::path DefaultRigPath() {
    const char* fromEnvironment = std::getenv("KV_SIM_RIG");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return std::filesystem::path(fromEnvironment);
    return std::filesystem::path("sim") / "rigs" / "demo.json";
}

}  // namespace kv::sim
