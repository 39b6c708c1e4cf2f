// Worker threads with a bounded wait.
#include "ctrl/xulib/Worker.h"

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
    // A thread that had not started when its caller stopped waiting: it
    // detaches itself once it runs.
    std::thread unstarted;
};

// Counts a worker in its group from before its thread exists until the
// thread's work is done, whether or not the thread ever starts. It shares
// the group, so a late worker can still leave it after its owner is gone.
class Membership {
public:
    explicit Membership(std::shared_ptr<WorkerGroup> group) : m_group(std::move(group)) {
        if (m_group) m_group->Enter();
    }
    ~Membership() {
        if (m_group) m_group->Leave();
    }
    Membership(const Membership&) = delete;
    Membership& operator=(const Membership&) = delete;

private:
    std::shared_ptr<WorkerGroup> m_group;
};

}  // namespace

bool WorkerGroup::WaitUntilIdle(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_idle.wait_for(lock, limit, [&] { return m_running == 0; });
}

void WorkerGroup::Enter() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    ++m_running;
}

void WorkerGroup::Leave() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (--m_running == 0) m_idle.notify_all();
}

WorkerOutcome RunOnWorker(std::function<platform::HResult()> work, std::chrono::milliseconds limit,
                          std::shared_ptr<WorkerGroup> group) {
    auto handoff = std::make_shared<Handoff>();
    auto membership = std::make_shared<Membership>(std::move(group));
    std::thread worker;
    try {
        worker = std::thread([handoff, membership, work = std::move(work)]() mutable {
            {
                const std::lock_guard<std::mutex> lock(handoff->mutex);
                handoff->started = true;
                if (handoff->unstarted.joinable()) handoff->unstarted.detach();
                handoff->done.notify_all();
            }
            const platform::HResult result = work();
            work = nullptr;  // what the work holds goes before the worker counts as ended
            {
                const std::lock_guard<std::mutex> lock(handoff->mutex);
                handoff->result = result;
                handoff->finished = true;
                handoff->done.notify_all();
            }
            membership.reset();
        });
    } catch (const std::system_error&) {
        return {};  // the membership ends with the work that never ran
    }
    membership.reset();
    std::unique_lock<std::mutex> lock(handoff->mutex);
    const bool finished = handoff->done.wait_for(lock, limit, [&] { return handoff->finished; });
    const WorkerOutcome outcome{finished, handoff->result};
    if (finished) {
        lock.unlock();
        worker.join();
        return outcome;
    }
    // A thread detached before it has started can be handed a null start
    // argument by the 32-bit Windows runtime's thread library (measured: a
    // page fault in its start routine under load), so only a started thread
    // is detached here. One that has not started yet is handed to itself and
    // detaches itself when it runs: the caller never waits beyond `limit`
    // for a thread that a loaded machine is slow to schedule.
    if (handoff->started) {
        lock.unlock();
        worker.detach();
    } else {
        handoff->unstarted = std::move(worker);
    }
    return {};
}

}  // namespace kv::ctrl::xulib
