#pragma once

#include "skin/SkinPointer.h"

#include <QList>
#include <QUrl>
#include <QWidget>

namespace korvel {

class TSkinForm;

// The player panel: a borderless window whose whole face is the skin "Skin". It keeps no
// playback state; it turns clicks, slider moves and keys into commands.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    TForm1();
    ~TForm1() override;

    TSkinForm* SkinForm1() const { return m_skinForm; }

    // A release on the face: only left-button releases are commands.
    void SkinForm1MouseUpNotify(const QString& id, Qt::MouseButton button, ShiftState shift,
                                int x, int y);
    // A slider moved by the pointer to a position 0..100.
    void SkinForm1TrackBarNotify(const QString& id, int position);

signals:
    // The panel's commands are wired to these by the windows that carry them out.
    void commandReleased(const QString& id);
    void trackBarMoved(const QString& id, int position);
    // Files dropped on the panel; the playback window takes them as if dropped there.
    void filesDropped(const QList<QUrl>& urls);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate();

    TSkinForm* m_skinForm;
};

} // namespace korvel
