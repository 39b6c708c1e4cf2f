// The tray icon's state machine.
#include "gui/core/Tray.h"

namespace kv::gui {

void Tray::Load() {
    const WindowState state = m_shell.State();
    m_saved = state == WindowState::Minimised ? WindowState::Normal : state;
    AddIcon();
}

void Tray::OnShellRestarted() {
    if (!m_unloaded) AddIcon();
}

void Tray::AddIcon() {
    if (m_shell.AddIcon()) {
        StopRetrying();
        return;
    }
    m_retriesLeft = kAddRetries;
    if (!m_retrying) m_shell.StartRetryTimer();
    m_retrying = true;
}

void Tray::OnRetryTimer() {
    if (!m_retrying) return;
    --m_retriesLeft;
    if (m_shell.AddIcon() || m_retriesLeft <= 0) StopRetrying();
}

void Tray::StopRetrying() {
    if (!m_retrying) return;
    m_retrying = false;
    m_shell.StopRetryTimer();
}

void Tray::OnIconMessage(std::uint32_t mouseMessage) {
    if (mouseMessage == kIconLeftButtonUp) {
        if (m_shell.State() != WindowState::Minimised) return;
        m_shell.SetState(m_saved);
        m_shell.Focus();
    } else if (mouseMessage == kIconRightButtonUp) {
        m_shell.ShowMenu();
    }
}

void Tray::OnResize() {
    const WindowState state = m_shell.State();
    m_shell.EnableMenuItem(TrayMenuItem::Maximize, state != WindowState::Maximised);
    m_shell.EnableMenuItem(TrayMenuItem::Minimize, state != WindowState::Minimised);
    if (state != WindowState::Minimised) m_saved = state;
}

void Tray::OnMenu(TrayMenuItem item) {
    switch (item) {
    case TrayMenuItem::Minimize:
        m_shell.SetState(WindowState::Minimised);
        break;
    case TrayMenuItem::Maximize:
        m_shell.SetState(WindowState::Maximised);
        break;
    case TrayMenuItem::Close:
        m_shell.Close();
        break;
    }
}

void Tray::Unload() {
    m_unloaded = true;
    StopRetrying();
    m_shell.DeleteIcon();
}

}  // namespace kv::gui
