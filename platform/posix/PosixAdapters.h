// The POSIX adapters of the ports.
#pragma once

#include <string>
#include <vector>

#include "platform/MediaGraph.h"
#include "platform/Ports.h"

namespace kv::platform::posix {

class PosixEnvironment : public Environment {
public:
    PosixEnvironment(int argc, char** argv);
    // The program path as started and the arguments, joined by single blanks.
    std::string RawCommandLine() const override;
    std::string ModulePath() const override;
    std::string CurrentDirectory() const override;
    // $KV_COMMON_DOCUMENTS, else $XDG_DOCUMENTS_DIR, else $HOME/Documents.
    std::string CommonDocumentsFolder() const override;
    bool IsWindows() const override { return false; }
    bool GetOsVersion(OsVersion&) const override { return false; }
    // No process token here: both queries fail.
    std::optional<std::uint32_t> TokenElevationType() const override { return std::nullopt; }
    std::optional<std::uint32_t> TokenElevation() const override { return std::nullopt; }

private:
    std::vector<std::string> m_args;
};

class PosixFiles : public Files {
public:
    char Separator() const override { return '/'; }
    bool Exists(const std::string& path) const override;
    bool IsDirectory(const std::string& path) const override;
    bool CreateFolder(const std::string& path) override;
    std::unique_ptr<TextStream> OpenTextForWriting(const std::string& path) override;
    std::unique_ptr<BinaryFile> CreateBinary(const std::string& path) override;
};

class PosixConsole : public Console {
public:
    void WriteLine(const std::string& text) override;
    void WriteErrorLine(const std::string& text) override;
};

class PosixClock : public Clock {
public:
    void Sleep(unsigned milliseconds) override;
    LocalTime Now() const override;
    std::uint32_t TickCount() const override;
};

// No message boxes here: both texts go to standard error. There are no
// windows to send messages to.
class PosixUi : public Ui {
public:
    void ShowMessageBox(const std::string& text) override;
    void DebugOutput(const std::string& text) override;
    bool SendWindowMessage(void*, std::uint32_t, std::uintptr_t, std::intptr_t) override { return false; }
    bool PostWindowMessage(void*, std::uint32_t, std::uintptr_t, std::intptr_t) override { return false; }
    bool PostToMainWindow(void*, std::uint32_t, std::uintptr_t, std::intptr_t) override { return false; }
};

class PosixProcesses : public Processes {
public:
    bool StartHidden(const std::string& commandLine) override;
    // There is no elevation request to make here.
    bool StartElevated(const std::string&) override { return false; }
    // The words of the command line after the program's own path become its
    // arguments (split at blanks); its standard streams go to /dev/null.
    std::unique_ptr<StartedProcess> StartProgramHidden(const std::string& program,
                                                       const std::string& commandLine) override;
};

// An empty video-input category, for a POSIX system whose cameras are not
// reached (on Linux the program's ports take linux_uvc's adapters). It
// has no apartments and no viewer graphs either (NoComApartment,
// AbsentMediaGraphs).
class PosixCaptureDevices : public CaptureDevices {
public:
    HResult CreateSystemDeviceEnumerator(std::unique_ptr<DeviceEnumerator>& enumerator) override;
};

// No USB device is reachable here: the device list is always empty.
class PosixDirectUsb : public DirectUsb {
public:
    bool LibraryLoads() override { return true; }
    std::unique_ptr<UsbDeviceList> ListInit() override;
};

// The outside camera libraries exist only for Windows: none loads here.
class PosixModules : public Modules {
public:
    std::unique_ptr<Module> Load(const std::string& name) override;
    std::unique_ptr<Module> LoadFromProgramFolder(const std::string& name) override { return Load(name); }
    bool CanExist(const std::string&) override { return false; }
};

// There is no registry here: no key can be opened.
class PosixRegistry : public Registry {
public:
    long CreateKey(RegistryRoot, const std::wstring&, RegistryAccess, std::unique_ptr<RegistryKey>&, bool*) override {
        return kErrorAccessDenied;
    }
    long OpenKey(RegistryRoot, const std::wstring&, RegistryAccess, std::unique_ptr<RegistryKey>&) override {
        return kErrorFileNotFound;
    }
    long DeleteTree(RegistryRoot, const std::wstring&) override { return kErrorFileNotFound; }
};

class PosixSync : public Sync {
public:
    std::shared_ptr<NamedMutex> CreateNamedMutex(const std::string& name) override;
};

// Settings files in our own profile text (platform/ProfileText.h).
class PosixProfileFiles : public ProfileFiles {
public:
    std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize) override;
    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override;
};

}  // namespace kv::platform::posix
