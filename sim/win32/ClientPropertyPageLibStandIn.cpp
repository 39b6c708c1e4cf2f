// Stand-in ClientPropertyPageLIB.dll: bridge register access on the first
// rig camera of the library's family, through the behaviour the host's
// in-process module shares (sim/rig/AsicLibStandIn.h). The four functions
// keep the vendor's C++ shapes (cdecl) and are exported under the Microsoft
// x86 decorated names through the .def file. Results: 1 for success, 0 for
// failure.
#include "sim/rig/AsicLibStandIn.h"
#include "sim/win32/StandInRig.h"

namespace {

using kv::sim::asiclib::StandIn;

// Open between InitialLIB and UNInitialLIB, for as long as the DLL is loaded.
kv::sim::asiclib::Library g_library;

template <class Call>
auto OnRig(Call&& call) {
    const auto rig = kv::sim::win32::CurrentRig();
    StandIn standIn(
        rig.get(),
        [&](std::size_t device, const kv::sim::DeviceCall& request) {
            return kv::sim::win32::AskDevice(*rig, device, request);
        },
        g_library);
    return call(standIn);
}

}  // namespace

extern "C" {

int __cdecl KvSimInitialLib() {
    return OnRig([](StandIn& s) { return s.Initial(); });
}

int __cdecl KvSimReadAsic(long reg, long* value) {
    return OnRig([&](StandIn& s) { return s.ReadAsic(reg, value); });
}

int __cdecl KvSimWriteAsic(long reg, long value) {
    return OnRig([&](StandIn& s) { return s.WriteAsic(reg, value); });
}

void __cdecl KvSimUninitialLib() {
    OnRig([](StandIn& s) { s.Uninitial(); });
}

}  // extern "C"
