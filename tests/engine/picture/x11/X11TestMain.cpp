// The media tests of what only a real window system shows, in a binary of their own: the
// other media tests run on the offscreen platform. It always uses the xcb platform, needs an
// X display with a window manager (Xvfb with openbox will do) and ends with 77, skipped,
// without one:
//     Xvfb :77 -screen 0 1280x800x24 & DISPLAY=:77 openbox &
//     DISPLAY=:77 ./media_x11_tests

#include "X11Support.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("skipped: needs an X display (DISPLAY)");
        return 77;
    }
    // The test presets ask every test for the offscreen platform; these tests exist for X.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    if (!korvel::test::windowManagerRuns()) {
        std::puts("skipped: needs a window manager on the display (wmctrl -m)");
        return 77;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
