// The run's counters.
#include "ctrl/models/RunCounters.h"

namespace kv::ctrl {

int* DispatchCounters::FlcUseCount(int dev) {
    return dev >= 0 && dev < static_cast<int>(m_nFlcUseCount.size()) ? &m_nFlcUseCount[static_cast<std::size_t>(dev)]
                                                                     : nullptr;
}

}  // namespace kv::ctrl
