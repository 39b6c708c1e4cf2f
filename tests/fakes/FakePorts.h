// Recording fakes of every port, and a bundle that hands them to the core.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/MediaGraph.h"
#include "platform/Ports.h"
#include "tests/fakes/FakeRegistry.h"

namespace kv::test {

class FakeEnvironment : public platform::Environment {
public:
    std::string rawCommandLine = "KV_DS_Ctrl.exe";
    std::string modulePath = "C:\\Korvex\\KV_DS_Ctrl.exe";
    std::string currentDirectory = "C:\\Korvex";
    std::string commonDocuments = "C:\\Users\\Public\\Documents";
    bool windows = true;
    std::optional<platform::OsVersion> osVersion = platform::OsVersion{2, 6, 1};
    std::optional<std::uint32_t> elevationType = 3;  // limited
    std::optional<std::uint32_t> elevation = 0;

    std::string RawCommandLine() const override { return rawCommandLine; }
    std::string ModulePath() const override { return modulePath; }
    std::string CurrentDirectory() const override { return currentDirectory; }
    std::string CommonDocumentsFolder() const override { return commonDocuments; }
    bool IsWindows() const override { return windows; }
    bool GetOsVersion(platform::OsVersion& version) const override {
        if (osVersion) version = *osVersion;
        return osVersion.has_value();
    }
    std::optional<std::uint32_t> TokenElevationType() const override { return elevationType; }
    std::optional<std::uint32_t> TokenElevation() const override { return elevation; }
};

// An in-memory file system with Windows separators. Files keep everything
// written to them, the flushed part separately, so a test can tell whether a
// line was flushed.
class FakeFiles : public platform::Files {
public:
    struct File {
        std::string content;
        std::size_t flushed = 0;
        int openCount = 0;
    };
    std::map<std::string, File> files;
    std::set<std::string> directories;
    std::vector<std::string> createdDirectories;
    bool failOpening = false;

    char Separator() const override { return '\\'; }
    bool Exists(const std::string& path) const override;
    bool IsDirectory(const std::string& path) const override;
    bool CreateFolder(const std::string& path) override;
    std::unique_ptr<platform::TextStream> OpenTextForWriting(const std::string& path) override;
    // Binary files land in `files` only when committed; failCreating refuses
    // the creation, failWritingAfter cuts every file after that many bytes.
    bool failCreating = false;
    std::optional<std::size_t> failWritingAfter;
    std::vector<std::string> removed;  // created files dropped uncommitted
    std::unique_ptr<platform::BinaryFile> CreateBinary(const std::string& path) override;

    // Adds a folder and every parent of it.
    void AddDirectoryTree(const std::string& path);
    const std::string& Content(const std::string& path) const { return files.at(path).content; }
};

class FakeConsole : public platform::Console {
public:
    std::vector<std::string> lines;
    std::vector<std::string> errorLines;
    void WriteLine(const std::string& text) override { lines.push_back(text); }
    void WriteErrorLine(const std::string& text) override { errorLines.push_back(text); }
};

class FakeClock : public platform::Clock {
public:
    platform::LocalTime now{2024, 1, 31, 9, 5, 7, 42};
    std::vector<unsigned> sleeps;
    std::uint32_t ticks = 0;

    void Sleep(unsigned milliseconds) override {
        sleeps.push_back(milliseconds);
        ticks += milliseconds;
    }
    platform::LocalTime Now() const override { return now; }
    std::uint32_t TickCount() const override { return ticks; }
};

class FakeUi : public platform::Ui {
public:
    struct Message {
        std::string how;  // "send", "post" or "main"
        void* window;
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    std::vector<std::string> messageBoxes;
    std::vector<std::string> debugOutput;
    std::vector<Message> messages;
    // Runs for every sent message, as the window's procedure would.
    std::function<void(const Message&)> onSend;

    void ShowMessageBox(const std::string& text) override { messageBoxes.push_back(text); }
    void DebugOutput(const std::string& text) override { debugOutput.push_back(text); }
    bool SendWindowMessage(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        messages.push_back({"send", window, message, wParam, lParam});
        if (onSend) onSend(messages.back());
        return window != nullptr;
    }
    bool PostWindowMessage(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        messages.push_back({"post", window, message, wParam, lParam});
        return window != nullptr;
    }
    bool PostToMainWindow(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        messages.push_back({"main", window, message, wParam, lParam});
        return window != nullptr;
    }
};

class FakeProcesses : public platform::Processes {
public:
    // A program started with StartProgramHidden: it ends after a number of
    // looks, or never.
    struct Program {
        std::string program;
        std::string commandLine;
        int looks = 0;
    };
    std::vector<std::string> started;
    std::vector<std::string> startedElevated;
    std::vector<Program> programs;
    bool elevatedStartWorks = true;
    bool programStartWorks = true;
    std::optional<int> looksUntilEnd = 1;  // none: the program never ends
    // Called at every look, with the program looked at (a test's clock or
    // message pump can move on there).
    std::function<void(const Program&)> onLook;

    std::unique_ptr<platform::StartedProcess> StartProgramHidden(const std::string& program,
                                                                 const std::string& commandLine) override;
    bool StartHidden(const std::string& commandLine) override {
        started.push_back(commandLine);
        return true;
    }
    bool StartElevated(const std::string& program) override {
        startedElevated.push_back(program);
        return elevatedStartWorks;
    }
};

// The apartment start-ups and shut-downs, counted.
class FakeComApartment : public platform::ComApartment {
public:
    int initializeCalls = 0;
    int uninitializeCalls = 0;
    platform::HResult Initialize() override {
        ++initializeCalls;
        return platform::kS_OK;
    }
    void Uninitialize() override { ++uninitializeCalls; }
};

// A video-input category made of described devices, with the platform's
// failure modes.
class FakeCaptureDevices : public platform::CaptureDevices {
public:
    struct Device {
        std::optional<std::string> devicePath;  // none: the read fails
        bool storageFails = false;
        std::optional<std::string> friendlyName;  // none: the read fails
        // What BindToObject gives; it fails for a device without a filter.
        std::shared_ptr<platform::Filter> filter;
    };
    std::vector<Device> devices;
    bool enumeratorFails = false;
    bool categoryFails = false;
    // Next() throws when it reaches this index.
    std::optional<std::size_t> throwAtDevice;
    int categoryEnumerations = 0;  // CreateVideoInputEnumerator calls

    Device& AddDevice(const std::string& path, std::shared_ptr<platform::Filter> filter = nullptr) {
        devices.push_back({path, false, std::nullopt, std::move(filter)});
        return devices.back();
    }
    Device& AddNamedDevice(const std::string& path, const std::string& friendlyName) {
        Device& device = AddDevice(path);
        device.friendlyName = friendlyName;
        return device;
    }

    platform::HResult CreateSystemDeviceEnumerator(std::unique_ptr<platform::DeviceEnumerator>& enumerator) override;
};

// The viewer's graph classes: none, as on a platform without them, unless a
// test points `classes` at fakes.
class FakeGraphClasses : public platform::MediaGraphs {
public:
    platform::MediaGraphs* classes = &m_absent;

    platform::HResult CreateFilterGraph(std::shared_ptr<platform::FilterGraph>& graph) override {
        return classes->CreateFilterGraph(graph);
    }
    platform::HResult CreateCaptureGraphBuilder(platform::FilterGraph& graph,
                                                std::shared_ptr<platform::CaptureGraphBuilder>& builder) override {
        return classes->CreateCaptureGraphBuilder(graph, builder);
    }
    platform::HResult CreateSampleGrabber(std::shared_ptr<platform::SampleGrabber>& grabber) override {
        return classes->CreateSampleGrabber(grabber);
    }
    platform::HResult CreateNullRenderer(std::shared_ptr<platform::GraphFilter>& renderer) override {
        return classes->CreateNullRenderer(renderer);
    }
    platform::HResult CreateFileSource(std::shared_ptr<platform::FileSource>& source) override {
        return classes->CreateFileSource(source);
    }

private:
    platform::AbsentMediaGraphs m_absent;
};

// A USB library over described devices (none by default). Every control
// transfer is recorded with the bytes it sent; an in transfer is answered
// with `inReply`.
class FakeDirectUsb : public platform::DirectUsb {
public:
    struct Device {
        platform::UsbDeviceEntry entry;
        std::optional<std::uint32_t> openError;  // set: opening fails with it
    };
    struct Transfer {
        platform::UsbSetupPacket setup;
        std::vector<std::uint8_t> sent;  // the data stage of an out transfer
        std::uint32_t bufferLength = 0;
    };
    bool libraryLoads = true;
    bool listInitFails = false;
    std::vector<Device> devices;
    std::vector<Transfer> transfers;
    std::optional<std::uint8_t> inReply;  // none: in transfers fail
    bool outTransfersFail = false;
    std::vector<int> openedDevices;  // by position, in order
    int listsMade = 0;

    void AddDevice(int pid, const std::string& deviceId) { devices.push_back({{0xA168, pid, deviceId, 0}, {}}); }
    bool LibraryLoads() override { return libraryLoads; }
    std::unique_ptr<platform::UsbDeviceList> ListInit() override;
};

// Profile files kept in memory as text, read and written with our own
// profile text (platform/ProfileText.h).
class FakeProfileFiles : public platform::ProfileFiles {
public:
    std::map<std::string, std::string> files;
    bool writesFail = false;

    std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize) override;
    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override;
};

// Libraries by name, each a table of entry points; Load finds them anywhere,
// LoadFromProgramFolder only those placed in the program's folder.
class FakeModules : public platform::Modules {
public:
    struct Library {
        std::map<std::string, void*> entryPoints;
        bool inProgramFolder = true;
    };
    std::map<std::string, Library> libraries;
    std::vector<std::string> loaded;  // "name" or "program-folder:name", in order
    std::set<std::string> foreign;    // names that cannot exist on this platform

    std::unique_ptr<platform::Module> Load(const std::string& name) override;
    std::unique_ptr<platform::Module> LoadFromProgramFolder(const std::string& name) override;
    bool CanExist(const std::string& name) override { return foreign.count(name) == 0; }
};

// Named mutexes inside the process: a real timed mutex each, unless a wait
// result is forced. As with the platform's, creating a name that is still
// held by someone opens the same mutex.
class FakeSync : public platform::Sync {
public:
    std::optional<platform::MutexWait> forcedWait;
    std::vector<std::string> created;
    std::atomic<int> waits = 0;  // counted by worker threads
    std::atomic<int> releases = 0;

    std::shared_ptr<platform::NamedMutex> CreateNamedMutex(const std::string& name) override;

private:
    std::map<std::string, std::weak_ptr<platform::NamedMutex>> m_named;
};

// Every fake, bundled as the port set the core takes.
struct FakePorts {
    FakeEnvironment environment;
    FakeFiles files;
    FakeConsole console;
    FakeClock clock;
    FakeUi ui;
    FakeProcesses processes;
    FakeComApartment comApartment;
    FakeCaptureDevices captureDevices;
    platform::AbsentExtensionUnitFactory extensionUnits;
    FakeGraphClasses mediaGraphs;
    FakeDirectUsb directUsb;
    FakeModules modules;
    FakeRegistry registry;
    FakeSync sync;
    FakeProfileFiles profileFiles;
    platform::Ports ports{environment, files,        console,        clock,          ui,
                          processes,   comApartment, captureDevices, extensionUnits, mediaGraphs,
                          directUsb,   modules,      registry,       sync,           profileFiles};

    FakePorts(const FakePorts&) = delete;
    FakePorts() = default;
};

// Splits text into its lines (the line ends removed).
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace kv::test
