// Ui port: the modal message box and the debugger output.
#pragma once

#include <string>

namespace kv::platform {

class Ui {
public:
    virtual ~Ui() = default;
    // A modal box with an OK button; returns when the user closes it.
    virtual void ShowMessageBox(const std::string& text) = 0;
    virtual void DebugOutput(const std::string& text) = 0;
};

}  // namespace kv::platform
