// Recording fakes of the ports.
#include "tests/fakes/FakePorts.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <utility>

#include "platform/ProfileText.h"

namespace kv::test {

namespace {

using platform::HResult;
using platform::kE_FAIL;
using platform::kS_FALSE;
using platform::kS_OK;

std::string ParentOf(const std::string& path) {
    const auto at = path.find_last_of('\\');
    return at == std::string::npos ? std::string() : path.substr(0, at);
}

class FakeStream : public platform::TextStream {
public:
    explicit FakeStream(FakeFiles::File& file) : m_file(file) {}
    void Write(const std::string& text) override { m_file.content += text; }
    void Flush() override { m_file.flushed = m_file.content.size(); }

private:
    FakeFiles::File& m_file;
};

class FakeBag : public platform::PropertyBag {
public:
    explicit FakeBag(FakeCaptureDevices::Device device) : m_device(std::move(device)) {}
    HResult Read(const std::string& name, std::string& value) override {
        const auto& field = name == "DevicePath"     ? m_device.devicePath
                            : name == "FriendlyName" ? m_device.friendlyName
                                                     : kNoValue;
        if (!field) return kE_FAIL;
        value = *field;
        return kS_OK;
    }

private:
    static inline const std::optional<std::string> kNoValue;
    const FakeCaptureDevices::Device m_device;
};

class FakeMoniker : public platform::Moniker {
public:
    // A copy: a moniker outlives changes the test makes to the category.
    explicit FakeMoniker(FakeCaptureDevices::Device device) : m_device(std::move(device)) {}
    HResult BindToStorage(std::unique_ptr<platform::PropertyBag>& bag) override {
        if (m_device.storageFails) return kE_FAIL;
        bag = std::make_unique<FakeBag>(m_device);
        return kS_OK;
    }
    HResult BindToObject(std::shared_ptr<platform::Filter>& filter) override {
        if (!m_device.filter) return platform::kE_NOINTERFACE;
        filter = m_device.filter;
        return kS_OK;
    }

private:
    const FakeCaptureDevices::Device m_device;
};

class FakeMonikers : public platform::MonikerEnumerator {
public:
    explicit FakeMonikers(const FakeCaptureDevices& owner) : m_owner(owner) {}
    HResult Reset() override {
        m_next = 0;
        return kS_OK;
    }
    HResult Next(std::unique_ptr<platform::Moniker>& moniker) override {
        if (m_owner.throwAtDevice && *m_owner.throwAtDevice == m_next) throw std::runtime_error("device went away");
        if (m_next >= m_owner.devices.size()) return kS_FALSE;
        moniker = std::make_unique<FakeMoniker>(m_owner.devices[m_next++]);
        return kS_OK;
    }

private:
    const FakeCaptureDevices& m_owner;
    std::size_t m_next = 0;
};

class FakeDeviceEnumerator : public platform::DeviceEnumerator {
public:
    explicit FakeDeviceEnumerator(FakeCaptureDevices& owner) : m_owner(owner) {}
    HResult CreateVideoInputEnumerator(std::unique_ptr<platform::MonikerEnumerator>& enumerator) override {
        ++m_owner.categoryEnumerations;
        if (m_owner.categoryFails) return kE_FAIL;
        if (m_owner.devices.empty()) return kS_FALSE;
        enumerator = std::make_unique<FakeMonikers>(m_owner);
        return kS_OK;
    }

private:
    FakeCaptureDevices& m_owner;
};

}  // namespace

bool FakeFiles::Exists(const std::string& path) const { return files.count(path) || directories.count(path); }

bool FakeFiles::IsDirectory(const std::string& path) const { return directories.count(path) != 0; }

bool FakeFiles::CreateFolder(const std::string& path) {
    if (directories.count(path) || !directories.count(ParentOf(path))) return false;
    directories.insert(path);
    createdDirectories.push_back(path);
    return true;
}

std::unique_ptr<platform::TextStream> FakeFiles::OpenTextForWriting(const std::string& path) {
    if (failOpening || !directories.count(ParentOf(path))) return nullptr;
    File& file = files[path];
    file.content.clear();
    file.flushed = 0;
    ++file.openCount;
    return std::make_unique<FakeStream>(file);
}

namespace {

class FakeBinaryFile : public platform::BinaryFile {
public:
    FakeBinaryFile(FakeFiles& files, std::string path) : m_files(files), m_path(std::move(path)) {}
    ~FakeBinaryFile() override {
        if (!m_committed) m_files.removed.push_back(m_path);
    }
    std::size_t Write(const void* data, std::size_t length) override {
        std::size_t room = length;
        if (m_files.failWritingAfter)
            room = std::min(length, *m_files.failWritingAfter - std::min(*m_files.failWritingAfter, m_bytes.size()));
        m_bytes.append(static_cast<const char*>(data), room);
        return room;
    }
    bool Commit() override {
        m_committed = true;
        m_files.files[m_path].content = m_bytes;
        return true;
    }

private:
    FakeFiles& m_files;
    std::string m_path;
    std::string m_bytes;
    bool m_committed = false;
};

}  // namespace

std::unique_ptr<platform::BinaryFile> FakeFiles::CreateBinary(const std::string& path) {
    if (failCreating || !directories.count(ParentOf(path))) return nullptr;
    files.erase(path);  // created anew
    return std::make_unique<FakeBinaryFile>(*this, path);
}

void FakeFiles::AddDirectoryTree(const std::string& path) {
    for (std::string folder = path; !folder.empty(); folder = ParentOf(folder)) directories.insert(folder);
}

HResult FakeCaptureDevices::CreateSystemDeviceEnumerator(std::unique_ptr<platform::DeviceEnumerator>& enumerator) {
    if (enumeratorFails) return static_cast<HResult>(0x80040154u);  // class not registered
    enumerator = std::make_unique<FakeDeviceEnumerator>(*this);
    return kS_OK;
}

namespace {

class FakeModule : public platform::Module {
public:
    explicit FakeModule(const std::map<std::string, void*>& entryPoints) : m_entryPoints(entryPoints) {}
    void* Symbol(const std::string& name) override {
        const auto found = m_entryPoints.find(name);
        return found == m_entryPoints.end() ? nullptr : found->second;
    }

private:
    const std::map<std::string, void*>& m_entryPoints;
};

// Owned or not, with waits that time out on the steady clock (a timed mutex
// of some thread libraries gives up early).
class FakeNamedMutex : public platform::NamedMutex {
public:
    explicit FakeNamedMutex(FakeSync& sync) : m_sync(sync) {}
    platform::MutexWait Wait(unsigned milliseconds) override {
        ++m_sync.waits;
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_sync.forcedWait) {
            const platform::MutexWait forced = *m_sync.forcedWait;
            if (forced == platform::MutexWait::Acquired || forced == platform::MutexWait::Abandoned) m_owned = true;
            return forced;
        }
        if (!m_free.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return !m_owned; })) {
            return platform::MutexWait::TimedOut;
        }
        m_owned = true;
        return platform::MutexWait::Acquired;
    }
    void Release() override {
        ++m_sync.releases;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_owned = false;
        }
        m_free.notify_one();
    }

private:
    FakeSync& m_sync;
    std::mutex m_mutex;
    std::condition_variable m_free;
    bool m_owned = false;
};

}  // namespace

std::unique_ptr<platform::Module> FakeModules::Load(const std::string& name) {
    loaded.push_back(name);
    const auto found = libraries.find(name);
    if (found == libraries.end()) return nullptr;
    return std::make_unique<FakeModule>(found->second.entryPoints);
}

std::unique_ptr<platform::Module> FakeModules::LoadFromProgramFolder(const std::string& name) {
    loaded.push_back("program-folder:" + name);
    const auto found = libraries.find(name);
    if (found == libraries.end() || !found->second.inProgramFolder) return nullptr;
    return std::make_unique<FakeModule>(found->second.entryPoints);
}

std::shared_ptr<platform::NamedMutex> FakeSync::CreateNamedMutex(const std::string& name) {
    created.push_back(name);
    if (auto held = m_named[name].lock()) return held;
    auto mutex = std::make_shared<FakeNamedMutex>(*this);
    m_named[name] = mutex;
    return mutex;
}

namespace {

class FakeUsbHandle : public platform::UsbHandle {
public:
    explicit FakeUsbHandle(FakeDirectUsb& usb) : m_usb(usb) {}
    bool ControlTransfer(const platform::UsbSetupPacket& setup, std::uint8_t* buffer, std::uint32_t bufferLength,
                         std::uint32_t& transferred) override {
        const bool in = (setup.requestType & 0x80) != 0;
        FakeDirectUsb::Transfer transfer{setup, {}, bufferLength};
        if (!in && buffer) transfer.sent.assign(buffer, buffer + bufferLength);
        m_usb.transfers.push_back(transfer);
        transferred = 0;
        if (in) {
            if (!m_usb.inReply || bufferLength == 0) return false;
            buffer[0] = *m_usb.inReply;
            transferred = 1;
            return true;
        }
        if (m_usb.outTransfersFail) return false;
        transferred = bufferLength;
        return true;
    }
    bool QueryPipe(std::uint8_t, std::uint8_t pipeIndex, platform::UsbPipeInfo& pipe) override {
        if (pipeIndex >= 2) return false;
        pipe = {2, static_cast<std::uint8_t>(0x81 + pipeIndex), 512, 0};
        return true;
    }

private:
    FakeDirectUsb& m_usb;
};

class FakeUsbDeviceList : public platform::UsbDeviceList {
public:
    explicit FakeUsbDeviceList(FakeDirectUsb& usb) : m_usb(usb) {}
    std::uint32_t Count() override { return static_cast<std::uint32_t>(m_usb.devices.size()); }
    const platform::UsbDeviceEntry* FindByVidPid(int vid, int pid) override {
        for (m_cursor = 0; m_cursor < m_usb.devices.size(); ++m_cursor) {
            const auto& entry = m_usb.devices[m_cursor].entry;
            if (entry.vid == vid && entry.pid == pid) return &entry;
        }
        return nullptr;
    }
    const platform::UsbDeviceEntry* MoveNext() override {
        if (m_cursor < m_usb.devices.size()) ++m_cursor;
        return m_cursor < m_usb.devices.size() ? &m_usb.devices[m_cursor].entry : nullptr;
    }
    std::unique_ptr<platform::UsbHandle> OpenCurrent(std::uint32_t& lastError) override {
        if (m_cursor >= m_usb.devices.size()) return nullptr;
        if (const auto error = m_usb.devices[m_cursor].openError) {
            lastError = *error;
            return nullptr;
        }
        m_usb.openedDevices.push_back(static_cast<int>(m_cursor));
        return std::make_unique<FakeUsbHandle>(m_usb);
    }

private:
    FakeDirectUsb& m_usb;
    std::size_t m_cursor = 0;
};

}  // namespace

std::unique_ptr<platform::UsbDeviceList> FakeDirectUsb::ListInit() {
    if (!libraryLoads || listInitFails) return nullptr;
    ++listsMade;
    return std::make_unique<FakeUsbDeviceList>(*this);
}

std::string FakeProfileFiles::ReadString(const std::string& path, const std::string& section, const std::string& key,
                                         const std::string& defaultValue, std::size_t bufferSize) {
    const auto found = files.find(path);
    return platform::ReadProfileString(
        found == files.end() ? std::nullopt : std::optional<std::string_view>(found->second), section, key,
        defaultValue, bufferSize);
}

bool FakeProfileFiles::WriteString(const std::string& path, const std::string& section, const std::string& key,
                                   const std::string& value) {
    if (writesFail) return false;
    const auto found = files.find(path);
    auto text = platform::WriteProfileString(found == files.end() ? std::string() : found->second, section, key, value);
    if (text) files[path] = *text;
    return text.has_value();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

namespace {

class FakeStartedProcess : public platform::StartedProcess {
public:
    FakeStartedProcess(FakeProcesses& owner, std::size_t index) : m_owner(owner), m_index(index) {}
    bool HasEnded() override {
        FakeProcesses::Program& program = m_owner.programs[m_index];
        ++program.looks;
        if (m_owner.onLook) m_owner.onLook(program);
        return m_owner.looksUntilEnd && program.looks >= *m_owner.looksUntilEnd;
    }

private:
    FakeProcesses& m_owner;
    std::size_t m_index;
};

}  // namespace

std::unique_ptr<platform::StartedProcess> FakeProcesses::StartProgramHidden(const std::string& program,
                                                                            const std::string& commandLine) {
    if (!programStartWorks) return nullptr;
    programs.push_back({program, commandLine, 0});
    return std::make_unique<FakeStartedProcess>(*this, programs.size() - 1);
}

}  // namespace kv::test
