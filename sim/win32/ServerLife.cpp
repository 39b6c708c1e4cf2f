// Counters behind DllCanUnloadNow.
#include "sim/win32/ServerLife.h"

#include <atomic>

namespace kv::sim::win32 {

namespace {
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
}  // namespace

void ObjectCreated() { ++g_objects; }
void ObjectDestroyed() { --g_objects; }
void LockServer(bool lock) { lock ? ++g_locks : --g_locks; }
bool ServerInUse() { return g_objects.load() != 0 || g_locks.load() != 0; }

}  // namespace kv::sim::win32
