#pragma once

#include "playback/Playback.h"
#include "playback/PlaybackHost.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <optional>

namespace korvel {

class MediaControl;

// The playback window: a resizable tool window that holds the picture and owns the playback
// state. It is the application's main window: closing it ends the program, minimizing it
// minimizes the whole application.
class TForm3 : public QWidget, private PlaybackHost {
    Q_OBJECT

public:
    static inline const QString Caption = QStringLiteral("Korvel mark2");
    static constexpr QSize InitialClientSize{322, 242};

    // `argument` is the first command-line argument, empty when there is none; it starts
    // playing as the window is shown.
    TForm3(std::unique_ptr<MediaControl> control, const QString& argument = QString(),
           PlayOrder::Draw draw = PlayOrder::clockDraw);
    ~TForm3() override;

    // The panel is created after this window; it comes forward after a click into the
    // picture and shows or hides at the maximize command.
    void attachPanel(QWidget* panel) { m_panel = panel; }

    // A second start handed over its argument: come to the front and open it (the empty text
    // of a start without one: only come to the front).
    void ReceiveHandOff(const QString& text);
    // Files dropped here or on the panel: the first one is opened.
    void DropFiles(const QList<QUrl>& urls);
    // Puts the window's outer top-left corner (its frame's) at `frame`. The window system
    // tells the frame's size only once the window is on the screen; until then the place is
    // taken again as soon as it does, so a remembered place comes back to the pixel.
    void placeFrameAt(QPoint frame);

    // Gives the picture area `size`. The last size asked for is the one the window keeps,
    // also when it was asked for while the window manager was still framing the window.
    void resizeClient(QSize size);

    Playback& playback() { return m_playback; }
    const Playback& playback() const { return m_playback; }
    // Opens a location given by a second start or dropped here, a clip or another player's
    // list, as every door of the player opens one; the program wires it to the player's verbs.
    // Until it is, a location plays as a single clip.
    std::function<void(const QString& location)> OnOpen;
    // Runs as the window closes, after the engine has its volume back: the program saves
    // its settings here.
    std::function<void()> OnClose;

signals:
    void handOffReceived(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString caption() const override { return windowTitle(); }
    void setCaption(const QString& caption) override;
    void setClientSize(int width, int height) override;
    void letEventsRun() override;
    void runLater(int ms, std::function<void()> step) override;
    void bringPanelForward() override;
    void setTopmost(bool topmost) override;
    void showPanelInFront();

    void connectEvents();
    void open(const QString& location);
    void placeOnScreen();
    void onMaximize();

    std::unique_ptr<MediaControl> m_control;
    Playback m_playback;
    QPointer<QWidget> m_panel;
    std::optional<QPoint> m_wantedFrame;
    std::optional<QSize> m_wantedSize;
    bool m_topmost = false;
};

} // namespace korvel
