#include "ui/WindowGroup.h"

#include <gtest/gtest.h>

#include <QWidget>

using namespace korvel;

namespace {

// A panel with a task-bar entry and two tool windows, as the program groups them; whether the
// window manager hides tool windows by itself is the test's to say.
struct GroupedWindows {
    GroupedWindows() : group([this] { return hidesTools; }) {
        for (QWidget* window : {&playback, &panel, &list}) {
            group.add(window);
            window->show();
        }
    }

    bool hidesTools = false;
    QWidget playback{nullptr, Qt::Tool};
    QWidget panel;
    QWidget list{nullptr, Qt::Tool};
    WindowGroup group;
};

} // namespace

// A window minimized alone takes the others along, unless it is a tool window under a window
// manager that hides tool windows by itself (KWin, while another program is active) and shows
// them again: the panel stays, and nothing comes back with them.
TEST(WindowGroup, FollowsAMinimizeUnlessTheWindowManagerHidesTools) {
    struct Row {
        const char* name;
        QWidget GroupedWindows::*window;
        bool hidesTools;
        bool followed;
    };
    for (const Row row :
         {Row{"tool, window manager hides none", &GroupedWindows::playback, false, true},
          Row{"tool, window manager hides tools", &GroupedWindows::playback, true, false},
          Row{"list, window manager hides tools", &GroupedWindows::list, true, false},
          Row{"panel, window manager hides tools", &GroupedWindows::panel, true, true}}) {
        GroupedWindows windows;
        windows.hidesTools = row.hidesTools;
        QWidget& window = windows.*row.window;
        window.setWindowState(Qt::WindowMinimized);
        for (QWidget* other : {&windows.playback, &windows.panel, &windows.list}) {
            if (other == &window) continue;
            EXPECT_EQ(other->isMinimized(), row.followed) << row.name;
        }
        // Shown again (by the window manager or the user), it brings back what went with it.
        window.setWindowState(Qt::WindowNoState);
        for (QWidget* other : {&windows.playback, &windows.panel, &windows.list})
            EXPECT_FALSE(other->isMinimized()) << row.name;
    }
}

// KWin's sequence: both tool windows hidden, then the panel's minimize button before the window
// manager has shown them again. The restore brings back every window, also those the window
// manager had taken off.
TEST(WindowGroup, MinimizeTakesAlongWindowsAlreadyOff) {
    GroupedWindows windows;
    windows.hidesTools = true;
    windows.playback.setWindowState(Qt::WindowMinimized);
    windows.list.setWindowState(Qt::WindowMinimized);
    ASSERT_FALSE(windows.panel.isMinimized());
    windows.group.minimizeAll();
    EXPECT_TRUE(windows.panel.isMinimized());
    windows.panel.setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(windows.playback.isMinimized());
    EXPECT_FALSE(windows.list.isMinimized());
}
