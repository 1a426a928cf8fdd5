#include "player/RealPlay1.h"

#include "app/ErrorBox.h"
#include "skin/SkinForm.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace korvel {

TForm1::TForm1() : QWidget(nullptr, Qt::Window), m_skinForm(new TSkinForm(this)) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Korvel"));
    resize(273, 116);
    setAcceptDrops(true);
    m_skinForm->setKeyColor(0xFFFFFF);
    m_skinForm->setTolerance(0);
    m_skinForm->setShowHint(true);
    m_skinForm->pointer().OnMouseUpNotify = [this](const QString& id, Qt::MouseButton button,
                                                   ShiftState shift, int x, int y) {
        SkinForm1MouseUpNotify(id, button, shift, x, y);
    };
    m_skinForm->pointer().OnTrackBarNotify = [this](const QString& id, int position) {
        SkinForm1TrackBarNotify(id, position);
    };
    // A failure while loading ends set-up there; the window still exists and shows what
    // was loaded.
    ErrorBox::run([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() { m_skinForm->LoadSkin(QStringLiteral("Skin")); }

void TForm1::SkinForm1MouseUpNotify(const QString& id, Qt::MouseButton button, ShiftState,
                                    int, int) {
    if (button != Qt::LeftButton) return;
    emit commandReleased(id);
}

void TForm1::SkinForm1TrackBarNotify(const QString& id, int position) {
    emit trackBarMoved(id, position);
}

} // namespace korvel

namespace korvel {

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    emit filesDropped(urls);
}

} // namespace korvel
