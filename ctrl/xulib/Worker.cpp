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

}  // namespace

WorkerOutcome RunOnWorker(std::function<platform::HResult()> work, std::chrono::milliseconds limit) {
    auto handoff = std::make_shared<Handoff>();
    try {
        std::thread([handoff, work = std::move(work)] {
            const platform::HResult result = work();
            const std::lock_guard<std::mutex> lock(handoff->mutex);
            handoff->result = result;
            handoff->finished = true;
            handoff->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return {};
    }
    std::unique_lock<std::mutex> lock(handoff->mutex);
    if (!handoff->done.wait_for(lock, limit, [&] { return handoff->finished; })) return {};
    return {true, handoff->result};
}

}  // namespace kv::ctrl::xulib
