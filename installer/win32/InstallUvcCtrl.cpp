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

namespace {

// The platform's ui with a message box of the installer's own: its caption
// and an error icon.
class ErrorBox final : public kv::platform::Ui {
public:
    explicit ErrorBox(kv::platform::Ui& platform) : m_platform(platform) {}
    void ShowMessageBox(const std::string& text) override {
        MessageBoxW(nullptr, kv::platform::win32::Widen(text).c_str(), L"Korvex Camera Control",
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    }
    void DebugOutput(const std::string& text) override { m_platform.DebugOutput(text); }
    bool SendWindowMessage(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        return m_platform.SendWindowMessage(window, message, wParam, lParam);
    }
    bool PostWindowMessage(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        return m_platform.PostWindowMessage(window, message, wParam, lParam);
    }
    bool PostToMainWindow(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        return m_platform.PostToMainWindow(window, message, wParam, lParam);
    }

private:
    kv::platform::Ui& m_platform;
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
    ErrorBox errorBox(ports.ui);
    kv::installer::InstallerPorts installerPorts{ports.environment, ports.files, ports.modules, errorBox,
                                                 ports.registry};
    const Apartment apartment;
    const std::vector<std::string> arguments(__argv + (__argc > 0 ? 1 : 0), __argv + __argc);
    return kv::installer::RunInstaller(installerPorts, arguments);
}
