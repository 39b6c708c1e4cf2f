// Process-wide cache of the current rig (reloaded when the rig file is
// edited), and the settled device request.
#include "sim/win32/StandInRig.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

#include "sim/win32/RigLocation.h"

namespace kv::sim::win32 {

namespace {

struct Cache {
    std::mutex mutex;
    std::filesystem::path file;
    std::shared_ptr<const Rig> rig;
    std::string lastReport;
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

void Report(Cache& cache, const std::string& error) {
    if (error == cache.lastReport) return;
    cache.lastReport = error;
    std::fprintf(stderr, "kvsim: %s\n", error.c_str());
    std::fflush(stderr);
}

}  // namespace

std::shared_ptr<const Rig> CurrentRig() {
    Cache& cache = TheCache();
    const std::lock_guard<std::mutex> lock(cache.mutex);
    std::string error;
    const std::filesystem::path file = FindRigFile(error);
    if (file.empty()) {
        Report(cache, error);
        return nullptr;
    }
    // An edited rig is loaded again: the older version would start every
    // request from its own initial state, wiping what newer processes did.
    if (cache.rig && cache.file == file && !cache.rig->FileChanged()) return cache.rig;
    std::shared_ptr<const Rig> loaded = Rig::Load(file, error);
    if (!loaded) {
        Report(cache, error);
        return nullptr;
    }
    // The rig is opened here, when a filter binds or a library first asks:
    // its one-time work must not fall into a transfer that a caller times.
    Session(*loaded).Prepare();
    cache.file = file;
    cache.rig = loaded;
    cache.lastReport.clear();
    return loaded;
}

Answer AskDevice(const Rig& rig, std::size_t device, const std::function<Answer(Session&, std::size_t)>& call) {
    Session session(rig);
    const Answer answer = call(session, device);
    if (answer.hangMs != 0) Sleep(answer.hangMs);
    return answer;
}

}  // namespace kv::sim::win32
