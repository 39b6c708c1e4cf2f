// Stand-in ClientPropertyPageLIB.dll: bridge register access on the first
// rig camera of the library's family. The four functions keep the vendor's
// C++ shapes (cdecl) and are exported under the Microsoft x86 decorated names
// through the .def file. Results: 1 for success, 0 for failure.
#include <cstdint>
#include <vector>

#include "sim/win32/StandInRig.h"

namespace {

using kv::sim::Session;

template <class Call>
int AskLibraryDevice(Call&& call) {
    const auto rig = kv::sim::win32::CurrentRig();
    if (!rig) return 0;
    const std::vector<int> devices = rig->AsicLibDevices();
    if (devices.empty()) return 0;
    const auto answer = kv::sim::win32::AskDevice(*rig, static_cast<std::size_t>(devices.front()), call);
    return kv::platform::Succeeded(answer.hr) ? 1 : 0;
}

}  // namespace

extern "C" {

int __cdecl KvSimInitialLib() {
    return AskLibraryDevice([](Session& s, std::size_t d) { return s.AsicLibInit(d); });
}

int __cdecl KvSimReadAsic(long reg, long* value) {
    if (value == nullptr) return 0;
    std::int32_t read = 0;
    const int ok = AskLibraryDevice(
        [&](Session& s, std::size_t d) { return s.AsicRead(d, static_cast<std::uint32_t>(reg), read); });
    if (ok) *value = read;
    return ok;
}

int __cdecl KvSimWriteAsic(long reg, long value) {
    return AskLibraryDevice([&](Session& s, std::size_t d) {
        return s.AsicWrite(d, static_cast<std::uint32_t>(reg), static_cast<std::int32_t>(value));
    });
}

void __cdecl KvSimUninitialLib() {
    AskLibraryDevice([](Session& s, std::size_t d) { return s.AsicLibUninit(d); });
}

}  // extern "C"
