// Running one piece of work on a short-lived thread of its own, waiting for
// it a limited time. Work that outlives the wait goes on alone: it must own
// everything it touches (copies, or objects shared with the caller), and its
// result is dropped.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/HResult.h"

namespace kv::ctrl::xulib {

struct WorkerOutcome {
    bool finished = false;  // false: the thread did not start, or did not end in time
    platform::HResult result = platform::kE_FAIL;
};

// The workers of one owner that are still running, so that the owner can
// wait for them before it releases what they use.
class WorkerGroup {
public:
    // True when none is left, after at most `limit`.
    bool WaitUntilIdle(std::chrono::milliseconds limit);
    void Enter();
    void Leave();

private:
    std::mutex m_mutex;
    std::condition_variable m_idle;
    int m_running = 0;
};

// `group`, when given, counts the worker until its thread has ended.
WorkerOutcome RunOnWorker(std::function<platform::HResult()> work, std::chrono::milliseconds limit,
                          std::shared_ptr<WorkerGroup> group = nullptr);

}  // namespace kv::ctrl::xulib
