#include "ui/KorvelApplication.h"

#include "base/Version.h"
#include "ui/ErrorBox.h"

#include <QImageReader>
#include <QPixmap>

namespace korvel {

KorvelApplication::KorvelApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("korvel"));
    setApplicationVersion(QStringLiteral(KORVEL_VERSION));
    // Names the desktop entry the windows belong to (the application id where the window
    // system asks for one). No display name is set: the toolkit would append it to every
    // window's title, and the playback window's caption is the clip's own.
    setDesktopFileName(QStringLiteral("korvel"));
    setWindowIcon(programIcon());
    // Hiding the panel or the playlist never ends the program; closing the playback
    // window does.
    setQuitOnLastWindowClosed(false);
}

// Every window hands the window system each size of its icon: those task bars and window
// switchers show, up to 128 (the theme's 256 is the desktop entry's). They are read as PNG
// by name: a reader left to find the format loads every image plugin to ask it.
QIcon KorvelApplication::programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        QImageReader reader(QStringLiteral(":/icons/korvel-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

bool KorvelApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    ErrorBox::run([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace korvel
