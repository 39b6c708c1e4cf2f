// The run context.
#include "ctrl/cli/RunContext.h"

#include <chrono>

namespace kv::ctrl {

RunContext::RunContext(platform::Ports& ports) : m_library(ports) {}

void RunContext::FinishLateWorkers() { m_library.WaitForLateWorkers(std::chrono::milliseconds(xulib::kMutexWaitMs)); }

}  // namespace kv::ctrl
