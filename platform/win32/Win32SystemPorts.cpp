// The Windows adapters bundled as the program's port set.
#include "platform/win32/Win32Adapters.h"

namespace kv::platform {

namespace {

class Win32SystemPorts : public SystemPorts {
public:
    Ports& ports() override { return m_ports; }

private:
    win32::Win32Environment m_environment;
    win32::Win32Files m_files;
    win32::Win32Console m_console;
    win32::Win32Clock m_clock;
    win32::Win32Ui m_ui;
    win32::Win32Processes m_processes;
    win32::Win32CaptureDevices m_captureDevices;
    win32::Win32DirectUsb m_directUsb;
    win32::Win32Modules m_modules;
    Ports m_ports{m_environment, m_files,          m_console,   m_clock,  m_ui,
                  m_processes,   m_captureDevices, m_directUsb, m_modules};
};

}  // namespace

// Windows has a command line of its own; argc and argv are not needed.
std::unique_ptr<SystemPorts> MakeSystemPorts(int, char**) { return std::make_unique<Win32SystemPorts>(); }

}  // namespace kv::platform
