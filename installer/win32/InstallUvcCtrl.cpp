// Install_UvcCtrl.exe: the platform's adapters handed to the installer's
// work. A windowed program, so that no console flashes up when the
// installation check starts it elevated; it reports through a message box
// and its exit status.
#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "installer/PluginInstaller.h"
#include "platform/Ports.h"
#include "platform/win32/WideText.h"
#include "plugin/win32/Win32Registration.h"

namespace {

class ErrorBox final : public kv::platform::Ui {
public:
    void ShowMessageBox(const std::string& text) override {
        MessageBoxW(nullptr, kv::platform::win32::Widen(text).c_str(), L"Korvex Camera Control",
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    }
    void DebugOutput(const std::string& text) override {
        OutputDebugStringA(kv::platform::win32::ToAnsi(text).c_str());
    }
};

// The plug-in registers its type library; registration tools run it inside
// an apartment, and so do we.
class Apartment {
public:
    Apartment() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~Apartment() {
        if (SUCCEEDED(m_hr)) CoUninitialize();
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

private:
    HRESULT m_hr;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The system port set keeps the current folder out of the library
    // search before anything loads.
    const auto system = kv::platform::MakeSystemPorts(__argc, __argv);
    auto& ports = system->ports();
    ErrorBox errorBox;
    const auto registry = kv::plugin::win32::MakeWin32Registry();
    kv::installer::InstallerPorts installerPorts{ports.environment, ports.files, ports.modules, errorBox, *registry};
    const Apartment apartment;
    const std::vector<std::string> arguments(__argv + (__argc > 0 ? 1 : 0), __argv + __argc);
    return kv::installer::RunInstaller(installerPorts, arguments);
}
