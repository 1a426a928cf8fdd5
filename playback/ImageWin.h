#pragma once

#include "playback/Playback.h"
#include "playback/PlaybackHost.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <memory>

namespace korvel {

class MediaControl;
class PlayListCells;
class TForm1;
class TForm2;

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
    TForm3(std::unique_ptr<MediaControl> control, const QString& argument = QString());
    ~TForm3() override;

    // The panel and the playlist are created after this window.
    void attachWindows(TForm1* panel, TForm2* playlist, PlayListCells* cells);

    // A second start handed over its argument: come to the front and play it as a single clip.
    void ReceiveHandOff(const QString& text);
    // Files dropped here or on the panel: the first one plays as a single clip.
    void DropFiles(const QList<QUrl>& urls);
    // The panel's commands that act on this window.
    void PanelCommand(const QString& id);
    void PanelTrackBar(const QString& id, int position);

    Playback& playback() { return m_playback; }
    MediaControl& RealAudio1() { return *m_control; }

signals:
    void handOffReceived(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString caption() const override { return windowTitle(); }
    void setCaption(const QString& caption) override { setWindowTitle(caption); }
    void setClientSize(int width, int height) override { resize(width, height); }
    void letEventsRun() override;
    void runLater(int ms, std::function<void()> step) override;
    void bringPanelForward() override;

    void connectEvents();
    void placeOnScreen();
    void SetTopmost(bool topmost);
    void onMaximize();
    void onMinimizedChanged(bool minimized);

    std::unique_ptr<MediaControl> m_control;
    Playback m_playback;
    TForm1* m_panel = nullptr;
    TForm2* m_playlist = nullptr;
    QList<QWidget*> m_minimizedWithMe;
};

} // namespace korvel
