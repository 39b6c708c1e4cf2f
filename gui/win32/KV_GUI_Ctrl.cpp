// KV_GUI_Ctrl: the window that runs KV_DS_Ctrl for the camera the user picks.
#include <windows.h>
#include <commctrl.h>

#include "gui/core/DeviceCameraList.h"
#include "gui/win32/FormWindow.h"
#include "platform/Ports.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const auto system = kv::platform::MakeSystemPorts(0, nullptr);
    kv::platform::Ports& ports = system->ports();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ports.comApartment.Initialize();

    kv::gui::DeviceCameraList cameras(ports.captureDevices);
    int status = 1;
    {
        kv::gui::win32::FormWindow form(instance, ports, cameras);
        if (form.Open(show)) {
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                if (IsDialogMessageW(form.Handle(), &message)) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            status = static_cast<int>(message.wParam);
        }
    }
    ports.comApartment.Uninitialize();
    return status;
}
