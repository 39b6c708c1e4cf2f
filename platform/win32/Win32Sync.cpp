// Sync port on Windows: named mutexes.
#include <windows.h>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

namespace {

class Win32NamedMutex : public NamedMutex {
public:
    explicit Win32NamedMutex(HANDLE mutex) : m_mutex(mutex) {}
    ~Win32NamedMutex() override { CloseHandle(m_mutex); }
    Win32NamedMutex(const Win32NamedMutex&) = delete;
    Win32NamedMutex& operator=(const Win32NamedMutex&) = delete;

    MutexWait Wait(unsigned milliseconds) override {
        switch (WaitForSingleObject(m_mutex, milliseconds)) {
        case WAIT_OBJECT_0:
            return MutexWait::Acquired;
        case WAIT_ABANDONED:
            return MutexWait::Abandoned;
        case WAIT_TIMEOUT:
            return MutexWait::TimedOut;
        default:
            return MutexWait::Failed;
        }
    }
    void Release() override { ReleaseMutex(m_mutex); }

private:
    HANDLE m_mutex;
};

}  // namespace

std::shared_ptr<NamedMutex> Win32Sync::CreateNamedMutex(const std::string& name) {
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, ToAnsi(name).c_str());
    if (mutex == nullptr) return nullptr;
    return std::make_shared<Win32NamedMutex>(mutex);
}

}  // namespace kv::platform::win32
