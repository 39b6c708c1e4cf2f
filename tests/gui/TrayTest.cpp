// The tray icon: the restore to the saved state, the menu and its enable
// rules, the icon's lifetime.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "gui/core/Tray.h"

namespace kv::test {
namespace {

using gui::TrayMenuItem;
using gui::WindowState;

class FakeTrayShell : public gui::TrayShell {
public:
    WindowState state = WindowState::Normal;
    std::vector<std::string> calls;
    std::map<TrayMenuItem, bool> menu{{TrayMenuItem::Minimize, true}, {TrayMenuItem::Maximize, true}};
    int failingAdds = 0;  // the shell is not up for this many adds

    bool AddIcon() override {
        calls.push_back("add");
        return failingAdds-- <= 0;
    }
    void DeleteIcon() override { calls.push_back("delete"); }
    void StartRetryTimer() override { calls.push_back("retry on"); }
    void StopRetryTimer() override { calls.push_back("retry off"); }
    WindowState State() const override { return state; }
    void SetState(WindowState next) override { state = next; }
    void Focus() override { calls.push_back("focus"); }
    void ShowMenu() override { calls.push_back("menu"); }
    void EnableMenuItem(TrayMenuItem item, bool enabled) override { menu[item] = enabled; }
    void Close() override { calls.push_back("close"); }
};

struct TrayRig {
    FakeTrayShell shell;
    gui::Tray tray{shell};
    // The platform resizes the window, then reports it.
    void Resize(WindowState state) {
        shell.state = state;
        tray.OnResize();
    }
};

TEST(TrayTest, ALeftClickRestoresAMinimisedWindowToItsPreviousState) {
    TrayRig rig;
    rig.tray.Load();
    rig.Resize(WindowState::Maximised);
    rig.tray.OnIconMessage(gui::kIconLeftButtonUp);
    EXPECT_EQ(rig.shell.state, WindowState::Maximised) << "not minimised: nothing happens";
    EXPECT_EQ(rig.shell.calls, (std::vector<std::string>{"add"}));

    rig.tray.OnMenu(TrayMenuItem::Minimize);
    rig.Resize(rig.shell.state);
    rig.tray.OnIconMessage(gui::kIconLeftButtonUp);
    EXPECT_EQ(rig.shell.state, WindowState::Maximised);
    EXPECT_EQ(rig.shell.calls.back(), "focus");
}

TEST(TrayTest, MenuItemsFollowTheWindowState) {
    TrayRig rig;
    rig.tray.Load();
    rig.Resize(WindowState::Minimised);
    rig.tray.OnIconMessage(gui::kIconRightButtonUp);
    EXPECT_EQ(rig.shell.calls.back(), "menu");
    EXPECT_TRUE(rig.shell.menu[TrayMenuItem::Maximize]);
    EXPECT_FALSE(rig.shell.menu[TrayMenuItem::Minimize]);
    rig.Resize(WindowState::Maximised);
    EXPECT_FALSE(rig.shell.menu[TrayMenuItem::Maximize]);
    EXPECT_TRUE(rig.shell.menu[TrayMenuItem::Minimize]);
    rig.Resize(WindowState::Normal);
    EXPECT_TRUE(rig.shell.menu[TrayMenuItem::Maximize]);
    EXPECT_TRUE(rig.shell.menu[TrayMenuItem::Minimize]);
}

TEST(TrayTest, OtherIconMessagesDoNothingAndCloseUnloadsTheForm) {
    TrayRig rig;
    rig.tray.Load();
    rig.Resize(WindowState::Minimised);
    for (std::uint32_t message : {0x200u, 513u, 516u, 515u}) rig.tray.OnIconMessage(message);
    EXPECT_EQ(rig.shell.state, WindowState::Minimised);
    rig.tray.OnMenu(TrayMenuItem::Close);
    rig.tray.Unload();
    EXPECT_EQ(rig.shell.calls, (std::vector<std::string>{"add", "close", "delete"}));
}

TEST(TrayTest, AFormThatStartsMinimisedComesBackNormal) {
    TrayRig rig;
    rig.shell.state = WindowState::Minimised;
    rig.tray.Load();
    EXPECT_EQ(rig.tray.SavedState(), WindowState::Normal);
    rig.tray.OnIconMessage(gui::kIconLeftButtonUp);
    EXPECT_EQ(rig.shell.state, WindowState::Normal);
}

TEST(TrayTest, AFailedAddIsRetriedOnTheTimerUntilItSucceedsAndTheShellsRestartAddsTheIconAgain) {
    TrayRig rig;
    rig.shell.failingAdds = 2;
    rig.tray.Load();
    rig.tray.OnRetryTimer();
    rig.tray.OnRetryTimer();
    rig.tray.OnRetryTimer();
    EXPECT_EQ(rig.shell.calls, (std::vector<std::string>{"add", "retry on", "add", "add", "retry off"}));

    rig.shell.calls.clear();
    rig.tray.OnShellRestarted();
    EXPECT_EQ(rig.shell.calls, (std::vector<std::string>{"add"}));
    rig.shell.failingAdds = 1;
    rig.tray.OnShellRestarted();
    rig.tray.Unload();
    rig.tray.OnShellRestarted();
    rig.tray.OnRetryTimer();
    EXPECT_EQ(rig.shell.calls, (std::vector<std::string>{"add", "add", "retry on", "retry off", "delete"}))
        << "no icon after unload";
}

TEST(TrayTest, RetriesAreBounded) {
    TrayRig rig;
    rig.shell.failingAdds = 1000;
    rig.tray.Load();
    for (int tick = 0; tick < gui::Tray::kAddRetries + 10; ++tick) rig.tray.OnRetryTimer();
    EXPECT_EQ(std::count(rig.shell.calls.begin(), rig.shell.calls.end(), "add"), 1 + gui::Tray::kAddRetries);
    EXPECT_EQ(rig.shell.calls.back(), "retry off");
}

}  // namespace
}  // namespace kv::test
