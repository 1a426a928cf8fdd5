#include <QApplication>
#include <QFont>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Tests never depend on a display: pixels are compared on the offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Texts are compared as written, whatever language the one who runs the tests speaks
    // (also in the players and launchers they start).
    qputenv("LC_ALL", "C.UTF-8");
    qunsetenv("LANGUAGE");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
