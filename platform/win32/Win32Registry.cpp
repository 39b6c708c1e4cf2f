// Registry and sync ports on Windows: the wide registry calls, so that a
// path outside the ANSI code page reads back as it was written, and named
// mutexes.
#include <windows.h>

#include <vector>

#include "platform/win32/Win32Adapters.h"
#include "platform/win32/WideText.h"

namespace kv::platform::win32 {

namespace {

class Win32RegistryKey : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : m_key(key) {}
    ~Win32RegistryKey() override { RegCloseKey(m_key); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    bool ReadDword(const std::string& name, std::uint32_t& value) override {
        DWORD data = 0;
        DWORD size = sizeof data;
        if (RegQueryValueExW(m_key, Widen(name).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS) {
            return false;
        }
        value = data;
        return true;
    }

    // Asked for its size first, and again if it grew in between; the
    // stored text need not end with a zero.
    bool ReadString(const std::string& name, std::string& value) override {
        const std::wstring wideName = Widen(name);
        std::vector<wchar_t> data;
        LONG result = ERROR_MORE_DATA;
        DWORD size = 0;
        while (result == ERROR_MORE_DATA) {
            result = RegQueryValueExW(m_key, wideName.c_str(), nullptr, nullptr, nullptr, &size);
            if (result != ERROR_SUCCESS) return false;
            data.assign(size / sizeof(wchar_t) + 1, L'\0');
            result = RegQueryValueExW(m_key, wideName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                                      &size);
        }
        if (result != ERROR_SUCCESS) return false;
        value = Narrow(std::wstring(data.data()));
        return true;
    }

private:
    HKEY m_key;
};

class Win32NamedMutex : public NamedMutex {
public:
    explicit Win32NamedMutex(HANDLE mutex) : m_mutex(mutex) {}
    ~Win32NamedMutex() override { CloseHandle(m_mutex); }
    Win32NamedMutex(const Win32NamedMutex&) = delete;
    Win32NamedMutex& operator=(const Win32NamedMutex&) = delete;

    MutexWait Wait(unsigned milliseconds) override {
        switch (WaitForSingleObject(m_mutex, milliseconds)) {
            case WAIT_OBJECT_0: return MutexWait::Acquired;
            case WAIT_ABANDONED: return MutexWait::Abandoned;
            case WAIT_TIMEOUT: return MutexWait::TimedOut;
            default: return MutexWait::Failed;
        }
    }
    void Release() override { ReleaseMutex(m_mutex); }

private:
    HANDLE m_mutex;
};

HKEY RootHandle(RegistryRoot root) { return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::CreateKeyForReading(RegistryRoot root, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(RootHandle(root), Widen(path).c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(key);
}

std::unique_ptr<RegistryKey> Win32Registry::OpenKeyForReading(RegistryRoot root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(RootHandle(root), Widen(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32RegistryKey>(key);
}

std::shared_ptr<NamedMutex> Win32Sync::CreateNamedMutex(const std::string& name) {
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, ToAnsi(name).c_str());
    if (mutex == nullptr) return nullptr;
    return std::make_shared<Win32NamedMutex>(mutex);
}

}  // namespace kv::platform::win32
