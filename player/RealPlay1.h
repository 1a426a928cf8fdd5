#pragma once

#include "player/PanelDisplays.h"
#include "skin/SkinPointer.h"

#include <QList>
#include <QUrl>
#include <QWidget>

namespace korvel {

class PanelCommands;
class TSkinForm;

// The player panel: a borderless window whose whole face is the skin "Skin". It keeps no
// playback state; it turns clicks, slider moves and keys into the commands given to it, and
// shows the playback state it is told of.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    TForm1();
    ~TForm1() override;

    TSkinForm* SkinForm1() const { return m_skinForm; }
    // The commands the panel's buttons, sliders and keys run (not owned); none until wired.
    void setCommands(PanelCommands* commands) { m_commands = commands; }

    // A release on the face: only left-button releases are commands.
    void SkinForm1MouseUpNotify(const QString& id, Qt::MouseButton button, ShiftState shift, int x,
                                int y);
    // A slider moved by the pointer to a position 0..100.
    void SkinForm1TrackBarNotify(const QString& id, int position);
    void FormKeyDown(int key, Qt::KeyboardModifiers shift);
    // The playback state changed from `before` to `now`: the displays show what changed.
    void showState(const PlaybackState& before, const PlaybackState& now);

signals:
    // A release on the face was handled (a toggle such as FIX may have flipped).
    void buttonReleased(const QString& id);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab move the focus among the face's elements.
    bool focusNextPrevChild(bool next) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate();
    void giveDisplaysVoices();

    TSkinForm* m_skinForm;
    PanelCommands* m_commands = nullptr;
    PanelDisplays m_displays;
};

} // namespace korvel
