// The run's counters: kept by the dispatcher, read by the per-model routines
// and the direct USB requests. The run context owns them.
#pragma once

#include <array>
#include <string>

namespace kv::ctrl {

struct DispatchCounters {
    int ii = 0;                           // position of the camera being handled
    int m_notzelmar = 0;                  // cameras counted as outside the extension-unit family
    std::array<int, 8> m_nFlcUseCount{};  // per library index: FLC writes this run
    int m_bPidReversed = 0;
    int m_n09b0Count = 0;
    std::string m_strSelDevice;  // strInstance of the camera -CAMn selected
    // A save that could not write Setting.ini has been reported on standard
    // error: the user reads of it once per run, not once per camera.
    bool unsavedSettingsReported = false;

    // The FLC use counter of `dev`; null outside 0 to 7, which the index
    // formulas can give (a camera outside the family ahead of the others).
    int* FlcUseCount(int dev);
};

}  // namespace kv::ctrl
