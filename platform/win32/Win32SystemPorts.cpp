// The Windows adapters bundled as the program's port set, and the library
// search they run with.
#include <windows.h>

#include <string>

#include "platform/win32/ModuleFile.h"
#include "platform/win32/Win32Adapters.h"
#include "platform/win32/Win32MediaGraph.h"

namespace kv::platform {

namespace {

// Outside libraries are loaded by bare name, and a DLL planted in the folder
// the program is started from (by a user, or by an elevated process) must
// never be the one that loads. Naming the program's own folder as the DLL
// directory takes the current directory out of the search and changes nothing
// else: the program's folder is searched first anyway, then the system
// folders and PATH. The empty name documented for the same purpose is not
// honoured by Wine, which then still searches the current directory.
void KeepCurrentDirectoryOutOfLibrarySearch() {
    if (const auto path = win32::ModuleFileName(nullptr)) {
        const auto slash = path->find_last_of(L"\\/");
        if (slash != std::wstring::npos && SetDllDirectoryW(path->substr(0, slash).c_str())) return;
    }
    SetDllDirectoryW(L"");  // the documented fallback, for a folder we could not name
}

// Made before any adapter, so that no library loads before the search is set.
struct LibrarySearch {
    LibrarySearch() { KeepCurrentDirectoryOutOfLibrarySearch(); }
};

class Win32SystemPorts : public SystemPorts {
public:
    Ports& ports() override { return m_ports; }

private:
    LibrarySearch m_librarySearch;
    win32::Win32Environment m_environment;
    win32::Win32Files m_files;
    win32::Win32Console m_console;
    win32::Win32Clock m_clock;
    win32::Win32Ui m_ui;
    win32::Win32Processes m_processes;
    win32::Win32ComApartment m_comApartment;
    win32::Win32CaptureDevices m_captureDevices;
    win32::Win32ExtensionUnitFactory m_extensionUnits;
    win32::Win32MediaGraphs m_mediaGraphs;
    win32::Win32DirectUsb m_directUsb;
    win32::Win32Modules m_modules;
    win32::Win32Registry m_registry;
    win32::Win32Sync m_sync;
    win32::Win32ProfileFiles m_profileFiles;
    Ports m_ports{m_environment, m_files,        m_console,        m_clock,          m_ui,
                  m_processes,   m_comApartment, m_captureDevices, m_extensionUnits, m_mediaGraphs,
                  m_directUsb,   m_modules,      m_registry,       m_sync,           m_profileFiles};
};

}  // namespace

// Windows has a command line of its own; argc and argv are not needed.
std::unique_ptr<SystemPorts> MakeSystemPorts(int, char**) { return std::make_unique<Win32SystemPorts>(); }

}  // namespace kv::platform
