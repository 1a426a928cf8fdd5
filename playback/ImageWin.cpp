#include "playback/ImageWin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLoggingCategory>
#include <QScreen>

namespace korvel {

namespace {
Q_LOGGING_CATEGORY(lcPlayback, "korvel.playback", QtWarningMsg)
} // namespace

TForm3::TForm3(const QString& argument) : QWidget(nullptr, Qt::Tool), m_argument(argument) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(Caption);
    QPalette silver = palette();
    silver.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(silver);
    setAutoFillBackground(true);
    resize(InitialClientSize);
    placeOnScreen();
    // Visible from its creation on, before the panel and the playlist exist.
    show();
}

void TForm3::placeOnScreen() {
    // Until the settings file remembers a place: centred, in the upper part of the screen,
    // leaving room for the panel below.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    move(free.left() + (free.width() - width()) / 2, free.top() + free.height() / 6);
}

void TForm3::ReceiveHandOff(const QString& text) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    qCDebug(lcPlayback).noquote() << "hand-off received:" << text;
    m_pendingHandOff = text;
    emit handOffReceived(text);
}

void TForm3::closeEvent(QCloseEvent* event) {
    event->accept();
    QApplication::quit();
}

} // namespace korvel
