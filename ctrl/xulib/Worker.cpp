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
    bool started = false;
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
    std::thread worker;
    try {
        worker = std::thread([handoff, work = std::move(work)] {
            {
                const std::lock_guard<std::mutex> lock(handoff->mutex);
                handoff->started = true;
                handoff->done.notify_all();
            }
            const platform::HResult result = work();
            {
                const std::lock_guard<std::mutex> lock(handoff->mutex);
                handoff->result = result;
                handoff->finished = true;
                handoff->done.notify_all();
            }
            Live().Add(-1);
        });
    } catch (const std::system_error&) {
        Live().Add(-1);
        return {};
    }
    std::unique_lock<std::mutex> lock(handoff->mutex);
    const bool finished = handoff->done.wait_for(lock, limit, [&] { return handoff->finished; });
    const WorkerOutcome outcome{finished, handoff->result};
    // A thread detached before it has started can be handed a null start
    // argument by the 32-bit Windows runtime's thread library (measured: a
    // page fault in its start routine under load); a thread that has started
    // has read it.
    handoff->done.wait(lock, [&] { return handoff->started; });
    lock.unlock();
    if (finished) {
        worker.join();
    } else {
        worker.detach();
    }
    return finished ? outcome : WorkerOutcome{};
}

bool WaitForLateWorkers(std::chrono::milliseconds limit) {
    LiveWorkers& live = Live();
    std::unique_lock<std::mutex> lock(live.mutex);
    return live.ended.wait_for(lock, limit, [&] { return live.count == 0; });
}

}  // namespace kv::ctrl::xulib
