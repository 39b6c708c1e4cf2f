// Ui port: the modal message box, the debugger output and the window
// messages the viewer operations send to the window of the host that uses
// them.
#pragma once

#include <cstdint>
#include <string>

namespace kv::platform {

class Ui {
public:
    virtual ~Ui() = default;
    // A modal box with an OK button; returns when the user closes it.
    virtual void ShowMessageBox(const std::string& text) = 0;
    virtual void DebugOutput(const std::string& text) = 0;
    // SendMessage: returns once the window's thread has handled it. False
    // when there is no such window.
    virtual bool SendWindowMessage(void* window, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) = 0;
    virtual bool PostWindowMessage(void* window, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) = 0;
    // Posts to the top-level window that owns `window`: the host
    // application's main window.
    virtual bool PostToMainWindow(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace kv::platform
