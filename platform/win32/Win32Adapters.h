// The Windows adapters of the ports.
#pragma once

#include "platform/Ports.h"

namespace kv::platform::win32 {

class Win32Environment : public Environment {
public:
    std::string RawCommandLine() const override;
    std::string ModulePath() const override;
    std::string CurrentDirectory() const override;
    std::string CommonDocumentsFolder() const override;
    bool IsWindows() const override { return true; }
    bool GetOsVersion(OsVersion& version) const override;
    std::optional<std::uint32_t> TokenElevationType() const override;
    std::optional<std::uint32_t> TokenElevation() const override;
};

class Win32Files : public Files {
public:
    char Separator() const override { return '\\'; }
    bool Exists(const std::string& path) const override;
    bool IsDirectory(const std::string& path) const override;
    bool CreateFolder(const std::string& path) override;
    std::unique_ptr<TextStream> OpenTextForWriting(const std::string& path) override;
    std::unique_ptr<BinaryFile> CreateBinary(const std::string& path) override;
};

class Win32Console : public Console {
public:
    void WriteLine(const std::string& text) override;
    void WriteErrorLine(const std::string& text) override;
};

class Win32Clock : public Clock {
public:
    void Sleep(unsigned milliseconds) override;
    LocalTime Now() const override;
    std::uint32_t TickCount() const override;
};

class Win32Ui : public Ui {
public:
    void ShowMessageBox(const std::string& text) override;
    void DebugOutput(const std::string& text) override;
    bool SendWindowMessage(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool PostWindowMessage(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool PostToMainWindow(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
};

class Win32Processes : public Processes {
public:
    bool StartHidden(const std::string& commandLine) override;
    bool StartElevated(const std::string& program) override;
    std::unique_ptr<StartedProcess> StartProgramHidden(const std::string& program,
                                                       const std::string& commandLine) override;
};

class Win32ComApartment : public ComApartment {
public:
    HResult Initialize() override;
    void Uninitialize() override;
};

class Win32CaptureDevices : public CaptureDevices {
public:
    HResult CreateSystemDeviceEnumerator(std::unique_ptr<DeviceEnumerator>& enumerator) override;
};

// The plug-in class as the system's class registration creates it.
class Win32ExtensionUnitFactory : public ExtensionUnitFactory {
public:
    HResult CreateExtensionUnit(std::shared_ptr<ExtensionUnit>& unit) override;
};

}  // namespace kv::platform::win32

namespace kv::platform::win32 {

class Win32DirectUsb : public DirectUsb {
public:
    bool LibraryLoads() override;
    std::unique_ptr<UsbDeviceList> ListInit() override;
};

class Win32Modules : public Modules {
public:
    std::unique_ptr<Module> Load(const std::string& name) override;
    std::unique_ptr<Module> LoadFromProgramFolder(const std::string& name) override;
};

// The one Windows registry adapter: the product, zelunit, the plug-in
// installer and the simulator's Windows parts all use it.
class Win32Registry : public Registry {
public:
    long CreateKey(RegistryRoot root, const std::wstring& path, RegistryAccess access,
                   std::unique_ptr<RegistryKey>& key, bool* created) override;
    long OpenKey(RegistryRoot root, const std::wstring& path, RegistryAccess access,
                 std::unique_ptr<RegistryKey>& key) override;
    long DeleteTree(RegistryRoot root, const std::wstring& path) override;
};

class Win32Sync : public Sync {
public:
    std::shared_ptr<NamedMutex> CreateNamedMutex(const std::string& name) override;
};

class Win32ProfileFiles : public ProfileFiles {
public:
    std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize) override;
    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override;
};

}  // namespace kv::platform::win32
