#include "ui/KorvelApplication.h"

#include "ui/ErrorBox.h"

namespace korvel {

KorvelApplication::KorvelApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("korvel"));
    setApplicationVersion(QStringLiteral("2.8"));
    // Hiding the panel or the playlist never ends the program; closing the playback
    // window does.
    setQuitOnLastWindowClosed(false);
}

bool KorvelApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    ErrorBox::run([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

} // namespace korvel
