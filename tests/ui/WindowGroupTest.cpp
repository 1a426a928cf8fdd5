#include "ui/WindowGroup.h"

#include <gtest/gtest.h>

#include <QTest>
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

// Fault (mutter, icewm): the window manager refused to take the tool windows to an icon and
// the group counted them minimized all the same, leaving the picture and the list on the
// screen. What the window manager keeps on the screen is hidden once another window has gone
// to its icon, and comes back with it; a window hidden before stays hidden, and where no
// window goes to an icon none is hidden, so the group can still come back.
TEST(WindowGroup, HidesWhatTheWindowManagerWouldNotMinimize) {
    struct Row {
        const char* name;
        bool panelRefused;
        bool listShown;
        bool toolsHidden;
    };
    for (const Row row : {Row{"tools refused", false, true, true},
                          Row{"tools refused, list hidden before", false, false, true},
                          Row{"every window refused", true, true, false}}) {
        QList<const QWidget*> refused;
        QWidget playback{nullptr, Qt::Tool};
        QWidget panel;
        QWidget list{nullptr, Qt::Tool};
        WindowGroup group([] { return false; },
                          [&refused](const QWidget* window) {
                              return std::optional<bool>(!refused.contains(window) &&
                                                         window->isMinimized());
                          });
        refused = {&playback, &list};
        if (row.panelRefused) refused.append(&panel);
        for (QWidget* window : {&playback, &panel, &list}) {
            group.add(window);
            window->show();
        }
        list.setVisible(row.listShown);
        group.minimizeAll();
        QTest::qWait(400);
        EXPECT_EQ(playback.isVisible(), !row.toolsHidden) << row.name;
        EXPECT_FALSE(list.isVisible() && row.toolsHidden) << row.name;
        EXPECT_TRUE(panel.isVisible()) << row.name;

        panel.setWindowState(Qt::WindowNoState);
        EXPECT_TRUE(playback.isVisible() && !playback.isMinimized()) << row.name;
        EXPECT_EQ(list.isVisible(), row.listShown) << row.name;
        EXPECT_FALSE(list.isMinimized() && row.listShown) << row.name;
    }
}
