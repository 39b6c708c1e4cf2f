// The rig that the host adapters serve the program's devices from, with the
// session that carries every request to it.
#pragma once

#include <memory>

#include "platform/Clock.h"
#include "sim/rig/Rig.h"
#include "sim/rig/Session.h"

namespace kv::sim::host {

class SimContext {
public:
    SimContext(std::unique_ptr<Rig> rig, platform::Clock& clock)
        : m_rig(std::move(rig)), m_session(*m_rig), m_clock(clock) {}

    const Rig& rig() const { return *m_rig; }
    Session& session() { return m_session; }

    // A request that hangs holds its caller this long, as the device would;
    // the rig's lock is already released by then.
    Answer Settle(Answer answer) {
        if (answer.hangMs) m_clock.Sleep(answer.hangMs);
        return answer;
    }

    // The rig device whose filter the program bound last (-1: none yet): the
    // camera a library that opens "the current device" finds.
    void NoteBound(std::size_t device) { m_boundDevice = static_cast<int>(device); }
    int boundDevice() const { return m_boundDevice; }

private:
    std::unique_ptr<Rig> m_rig;
    Session m_session;
    platform::Clock& m_clock;
    int m_boundDevice = -1;
};

}  // namespace kv::sim::host
