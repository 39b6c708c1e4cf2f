// What one run of KV_DS_Ctrl keeps across its camera objects and commands:
// the register library behind the xulib_* face, the bound filter pair, the
// outside libraries kept loaded and the dispatcher's counters. The program's
// composition makes one and hands it down; a test makes a fresh one.
#pragma once

#include "ctrl/camera/DxWnd.h"
#include "ctrl/models/RunCounters.h"
#include "ctrl/xulib/XuLib.h"
#include "ctrl/xulib/XuLibrary.h"
#include "platform/Ports.h"

namespace kv::ctrl {

class RunContext {
public:
    explicit RunContext(platform::Ports& ports);
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    // Before the process ends: lets a register-library operation that
    // outlived its wait finish its transfer (at most as long as a worker may
    // wait for the library's mutex), so that no camera is left in the middle
    // of a request sequence.
    void FinishLateWorkers();

    xulib::XuLibrary& library() { return m_library; }
    FilterPair& filterPair() { return m_filterPair; }
    KeptLibraries& keptLibraries() { return m_keptLibraries; }
    DispatchCounters& counters() { return m_counters; }

private:
    // Declared so that destruction ends the library (and its attachment to
    // the face) last, after the filter pair and the libraries kept loaded.
    xulib::XuLibrary m_library;
    XuLibAttachment m_attachment{m_library};
    FilterPair m_filterPair;
    KeptLibraries m_keptLibraries;
    DispatchCounters m_counters;
};

}  // namespace kv::ctrl
