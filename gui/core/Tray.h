// The notification-area icon of the form and the window state it restores.
#pragma once

#include <cstdint>

namespace kv::gui {

enum class WindowState : std::int16_t { Normal = 0, Minimised = 1, Maximised = 2 };
enum class TrayMenuItem { Minimize, Maximize, Close };

// The mouse messages the icon reports.
inline constexpr std::uint32_t kIconLeftButtonUp = 514;
inline constexpr std::uint32_t kIconRightButtonUp = 517;

// What the tray logic needs of the window and the shell.
class TrayShell {
public:
    virtual ~TrayShell() = default;
    virtual void AddIcon() = 0;
    virtual void DeleteIcon() = 0;
    virtual WindowState State() const = 0;
    virtual void SetState(WindowState state) = 0;
    virtual void Focus() = 0;
    // The pop-up menu at the mouse position; returns once it is closed.
    virtual void ShowMenu() = 0;
    virtual void EnableMenuItem(TrayMenuItem item, bool enabled) = 0;
    // Unloads the form.
    virtual void Close() = 0;
};

class Tray {
public:
    explicit Tray(TrayShell& shell) : m_shell(shell) {}

    // Form load: the icon goes in; a form that starts minimised comes back
    // normal.
    void Load();
    // A mouse message on the icon.
    void OnIconMessage(std::uint32_t mouseMessage);
    // After every resize of the form.
    void OnResize();
    void OnMenu(TrayMenuItem item);
    // Form unload: the icon goes.
    void Unload();

    WindowState SavedState() const { return m_saved; }

private:
    TrayShell& m_shell;
    WindowState m_saved = WindowState::Normal;
};

}  // namespace kv::gui
