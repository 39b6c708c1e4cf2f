// The stand-in ClientPropertyPageLIB library's behaviour, shared by the
// host's in-process module and the Windows DLL: bridge register access on the
// first rig camera of the library's family, open between InitialLIB and
// UNInitialLIB.
#pragma once

#include <atomic>
#include <utility>

#include "sim/rig/StandInCall.h"

namespace kv::sim::asiclib {

// What the library keeps between calls in one process.
// Callers on several threads may share it; no lock is held while a call waits.
struct Library {
    std::atomic<bool> open{false};  // InitialLIB succeeded and UNInitialLIB has not been called since
};

// Results as the library gives them: nonzero for success.
class StandIn {
public:
    // `rig` null: there is none, and every call fails.
    StandIn(const Rig* rig, Asker ask, Library& library) : rig_(rig), ask_(std::move(ask)), library_(library) {}

    int Initial();
    // Refused without a request to the camera while the library is not open.
    int ReadAsic(long reg, long* value);
    int WriteAsic(long reg, long value);
    // Closes the access; asks the camera only when it was open.
    void Uninitial();

private:
    bool Ask(const DeviceCall& call);

    const Rig* rig_;
    Asker ask_;
    Library& library_;
};

}  // namespace kv::sim::asiclib
