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
    // False when the shell did not take the icon (at logon the notification
    // area may not be up yet).
    virtual bool AddIcon() = 0;
    virtual void DeleteIcon() = 0;
    // A timer that calls Tray::OnRetryTimer until it is stopped.
    virtual void StartRetryTimer() = 0;
    virtual void StopRetryTimer() = 0;
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
    // A failed add is tried again this many times on the retry timer (one
    // try a second: two minutes); the shell's restart report adds it too.
    static constexpr int kAddRetries = 120;

    explicit Tray(TrayShell& shell) : m_shell(shell) {}

    // Form load: the icon goes in; a form that starts minimised comes back
    // normal.
    void Load();
    // The shell has (re)started: the icon it showed before is gone.
    void OnShellRestarted();
    void OnRetryTimer();
    // A mouse message on the icon.
    void OnIconMessage(std::uint32_t mouseMessage);
    // After every resize of the form.
    void OnResize();
    void OnMenu(TrayMenuItem item);
    // Form unload: the icon goes.
    void Unload();

    WindowState SavedState() const { return m_saved; }

private:
    void AddIcon();
    void StopRetrying();

    TrayShell& m_shell;
    WindowState m_saved = WindowState::Normal;
    bool m_retrying = false;
    int m_retriesLeft = 0;
    bool m_unloaded = false;
};

}  // namespace kv::gui
