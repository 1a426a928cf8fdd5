#include "playback/ImageWin.h"

#include "base/PathBytes.h"
#include "engine/MediaControl.h"
#include "playlist/SettingsData.h"
#include "ui/ErrorBox.h"
#include "ui/WindowManagerState.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLoggingCategory>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace korvel {

namespace {
Q_LOGGING_CATEGORY(lcPlayback, "korvel.playback", QtWarningMsg)

} // namespace

TForm3::TForm3(std::unique_ptr<MediaControl> control, const QString& argument, PlayOrder::Draw draw)
    : QWidget(nullptr, Qt::Tool), m_control(std::move(control)),
      m_playback(*m_control, *this, std::move(draw)) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(Caption);
    QPalette silver = palette();
    silver.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(silver);
    setAutoFillBackground(true);
    setAcceptDrops(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (QWidget* picture = m_control->pictureWidget()) layout->addWidget(picture);
    connectEvents();
    resize(InitialClientSize);
    placeOnScreen();
    // Visible from its creation on, before the panel and the playlist exist; the show
    // handler plays the command-line clip, whose events arrive once the loop runs.
    show();
    ErrorBox::run([this, &argument] { m_playback.FormShow(argument); });
}

TForm3::~TForm3() = default;

void TForm3::connectEvents() {
    MediaControl& c = *m_control;
    // Each event is a handler of its own: a failure ends it and is shown, and the next
    // event is handled as usual.
    c.OnStateChange = [this](int oldState, int newState) {
        ErrorBox::run([&] { m_playback.RealAudio1StateChange(oldState, newState); });
    };
    c.OnPositionChange = [this](std::int64_t position, std::int64_t length) {
        ErrorBox::run([&] { m_playback.RealAudio1PositionChange(position, length); });
    };
    c.OnTitleChange = [this] { ErrorBox::run([&] { m_playback.RealAudio1TitleChange(); }); };
    c.onPictureSize = [this] { ErrorBox::run([&] { m_playback.pictureSizeKnown(); }); };
    c.OnPostSeek = [this](std::int64_t oldTime, std::int64_t newTime) {
        ErrorBox::run([&] { m_playback.RealAudio1PostSeek(oldTime, newTime); });
    };
    c.OnKeyDown = [this](int flags, int key) { m_playback.RealAudio1KeyDown(flags, key); };
    c.OnLButtonUp = [this](int flags, int x, int y) {
        m_playback.RealAudio1LButtonUp(flags, x, y);
    };
    c.OnFullScreenEnd = [this] {
        // The toolkit gives the window its own type back as full screen ends, and with it its
        // own word on staying on top, which is no: a window kept on top asks again.
        if (m_topmost) WindowManagerState::ask(this, {"_NET_WM_STATE_ABOVE"}, true, isVisible());
        m_playback.RealAudio1FullScreenEnd();
    };
    c.OnAsyncFailure = [this](const QString& text) {
        ErrorBox::run([&] { m_playback.RealAudio1AsyncFailure(text); });
    };
}

// Each caption is logged as it is set: the window system may show two quick changes as one.
void TForm3::setCaption(const QString& caption) {
    qCDebug(lcPlayback).noquote() << "caption:" << caption;
    setWindowTitle(caption);
}

// Where the settings put the window while they remember no place (no file yet): in the upper
// left, the panel below it and the list beside it. Shown there from the start, it does not
// jump there once the settings are read; without a place for the settings it stays there.
void TForm3::placeOnScreen() { move(SettingsData().imageWindowPos); }

void TForm3::ReceiveHandOff(const QString& text) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    qCDebug(lcPlayback).noquote() << "hand-off received:" << text;
    emit handOffReceived(text);
    // A later start given no clip hands over the empty text: it only brings the player to
    // the front, and what plays goes on as it was.
    if (text.isEmpty()) return;
    open(text);
}

void TForm3::DropFiles(const QList<QUrl>& urls) {
    if (urls.isEmpty()) return;
    const QString location = PathBytes::locationOf(urls.first());
    // A drop that names no clip changes nothing: list play goes on.
    if (location.isEmpty()) return;
    open(location);
}

// While the program still makes its windows (an error box of the start-up is up) its verbs are
// not wired yet, and the list a location could join is not there: it plays as a single clip.
void TForm3::open(const QString& location) {
    if (OnOpen) {
        OnOpen(location);
    } else {
        m_playback.OpenEntry(false, location);
    }
}

void TForm3::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

// The program that dragged waits until the drop event returns: the clip is opened, and a
// failure shown, after that.
void TForm3::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        this, [this, urls] { ErrorBox::run([this, &urls] { DropFiles(urls); }); },
        Qt::QueuedConnection);
}

// Only this window changes its order; the panel and the playlist keep theirs. The window
// manager is asked for it as for the states that keep the window off the task bar: the
// toolkit's stays-on-top flag, once changed, would have the window system's window made anew at
// its next showing (full screen refused shows it again), without the picture's own window in
// it and without those states.
void TForm3::setTopmost(bool topmost) {
    m_topmost = topmost;
    if (WindowManagerState::ask(this, {"_NET_WM_STATE_ABOVE"}, topmost, isVisible())) return;
    // Where no X window manager is asked, the toolkit's flag is all there is.
    Qt::WindowFlags flags = windowFlags();
    overrideWindowFlags(flags.setFlag(Qt::WindowStaysOnTopHint, topmost));
    if (QWindow* window = windowHandle()) window->setFlag(Qt::WindowStaysOnTopHint, topmost);
}

// A window manager drops the states of a window that leaves the screen: one kept on top asks
// again before it is mapped (a window brought back from its icon is mapped already).
void TForm3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_topmost && !event->spontaneous())
        WindowManagerState::ask(this, {"_NET_WM_STATE_ABOVE"}, true, false);
}

void TForm3::placeFrameAt(QPoint frame) {
    move(frame);
    // A window on its way to the screen has no frame yet: its place is taken again once the
    // window manager has framed it and shows it.
    if (frameGeometry() != geometry() || !windowHandle()) return;
    m_wantedFrame = frame;
    windowHandle()->installEventFilter(this);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose &&
        (m_wantedFrame || m_wantedSize) && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        const auto frame = std::exchange(m_wantedFrame, std::nullopt);
        if (frame && frameGeometry() != geometry() && pos() != *frame) move(*frame);
        // After the place: moving asks for the size the window has now.
        const auto size = std::exchange(m_wantedSize, std::nullopt);
        if (size && this->size() != *size) resize(*size);
    }
    return QWidget::eventFilter(watched, event);
}

void TForm3::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    if (windowState() & Qt::WindowMaximized) onMaximize();
}

// Maximizing shows or hides the player panel instead.
void TForm3::onMaximize() {
    setWindowState(windowState() & ~Qt::WindowMaximized);
    if (m_panel) m_panel->setVisible(!m_panel->isVisible());
}

// A window of no size is unmapped by the window system, and the user would lose it: a clip
// without a picture keeps the frame and the caption on screen, over a picture area of a
// single line, as wide as the window was but never wider than the screen leaves room for.
void TForm3::setClientSize(int width, int height) {
    if (width > 0 && height > 0) {
        resizeClient(QSize(width, height));
        return;
    }
    int captionWidth = this->width();
    if (const QScreen* shown = screen()) {
        const int frameWidth = frameGeometry().width() - geometry().width();
        captionWidth = std::min(captionWidth, shown->availableGeometry().width() - frameWidth);
    }
    resizeClient(QSize(std::max(captionWidth, 1), 1));
}

void TForm3::resizeClient(QSize size) {
    resize(size);
    // A window on its way to the screen may be framed at the size it was shown with, and the
    // size asked for meanwhile lost (openbox does so at times, the clip then shown in a
    // corner of it): it is asked for again once the window shows. A later size replaces an
    // earlier one waiting there: the stored fixed size is not undone by the first one.
    if (isVisible() && windowHandle() && !windowHandle()->isExposed()) {
        m_wantedSize = size;
        windowHandle()->installEventFilter(this);
    } else {
        m_wantedSize.reset();
    }
}

void TForm3::letEventsRun() { QCoreApplication::processEvents(); }

void TForm3::runLater(int ms, std::function<void()> step) {
    QTimer::singleShot(ms, this, [step = std::move(step)] { ErrorBox::run(step); });
}

// A panel on the screen is raised and activated where it is, never hidden and shown again: a
// window mapped anew is one some window managers lose (icewm: no panel and no task-bar entry
// after full screen ends) or judge anew (KWin). A hidden panel is shown.
// Over a full-screen picture the panel comes once a double click could no longer be under way:
// come at the first click, it would take the second, and the double click that ends full
// screen would never reach the picture (the click that ends one brings the panel anyway).
void TForm3::bringPanelForward() {
    if (!m_panel) return;
    if (!isFullScreen()) {
        showPanelInFront();
        return;
    }
    QTimer::singleShot(QApplication::doubleClickInterval(), this, [this] {
        if (isFullScreen()) showPanelInFront();
    });
}

void TForm3::showPanelInFront() {
    if (!m_panel) return;
    if (!m_panel->isVisible()) m_panel->show();
    m_panel->raise();
    m_panel->activateWindow();
}

void TForm3::closeEvent(QCloseEvent* event) {
    ErrorBox::run([this] { m_playback.FormClose(); });
    if (OnClose) ErrorBox::run(OnClose);
    event->accept();
    QApplication::quit();
}

} // namespace korvel
