// Worker threads with a bounded wait.
#include "ctrl/xulib/Worker.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace kv::ctrl::xulib {

namespace {

// Shared by the caller and the worker, so that either may be the last to
// look at it.
struct Handoff {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    platform::HResult result = platform::kE_FAIL;
};

// The workers still running, over the whole process. Never destroyed: a
// late worker may end after static objects are gone.
struct LiveWorkers {
    std::mutex mutex;
    std::condition_variable ended;
    int count = 0;

    void Add(int delta) {
        const std::lock_guard<std::mutex> lock(mutex);
        count += delta;
        if (count == 0) ended.notify_all();
    }
};

LiveWorkers& Live() {
    static auto* live = new LiveWorkers;
    return *live;
}

}  // namespace

WorkerOutcome RunOnWorker(std::function<platform::HResult()> work, std::chrono::milliseconds limit) {
    auto handoff = std::make_shared<Handoff>();
    Live().Add(1);
    try {
        std::thread([handoff, work = std::move(work)] {
            const platform::HResult result = work();
            {
                const std::lock_guard<std::mutex> lock(handoff->mutex);
                handoff->result = result;
                handoff->finished = true;
                handoff->done.notify_all();
            }
            Live().Add(-1);
        }).detach();
    } catch (const std::system_error&) {
        Live().Add(-1);
        return {};
    }
    std::unique_lock<std::mutex> lock(handoff->mutex);
    if (!handoff->done.wait_for(lock, limit, [&] { return handoff->finished; })) return {};
    return {true, handoff->result};
}

bool WaitForLateWorkers(std::chrono::milliseconds limit) {
    LiveWorkers& live = Live();
    std::unique_lock<std::mutex> lock(live.mutex);
    return live.ended.wait_for(lock, limit, [&] { return live.count == 0; });
}

}  // namespace kv::ctrl::xulib
