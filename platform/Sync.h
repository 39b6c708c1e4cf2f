// Sync port: named mutexes shared by every process of the machine.
#pragma once

#include <memory>
#include <string>

namespace kv::platform {

enum class MutexWait {
    Acquired,
    Abandoned,  // acquired, but its last owner ended without releasing it
    TimedOut,
    Failed,
};

// Owned by the thread whose Wait acquired it, which must Release it.
class NamedMutex {
public:
    virtual ~NamedMutex() = default;
    virtual MutexWait Wait(unsigned milliseconds) = 0;
    virtual void Release() = 0;
};

class Sync {
public:
    virtual ~Sync() = default;
    // Creates the mutex, or opens it when another process holds it already;
    // not owned. Null when neither works.
    virtual std::shared_ptr<NamedMutex> CreateNamedMutex(const std::string& name) = 0;
};

}  // namespace kv::platform
