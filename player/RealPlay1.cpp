#include "player/RealPlay1.h"

#include "base/FixedTexts.h"
#include "player/PanelCommands.h"
#include "skin/PlayerSkinElements.h"
#include "skin/SkinForm.h"
#include "ui/ErrorBox.h"
#include "ui/KorvelApplication.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace korvel {

TForm1::TForm1()
    : QWidget(nullptr, Qt::Window), m_skinForm(new TSkinForm(this)),
      m_displays(m_skinForm->engine()) {
    setObjectName(QStringLiteral("TForm1"));
    // The panel is always shown, so it carries the program's task-bar entry and its title;
    // the playback and playlist windows are tool windows that add no entry of their own.
    setWindowTitle(KorvelApplication::Title);
    resize(PlayerSkin::FaceSize);
    setAcceptDrops(true);
    // The panel takes the keys whenever it is the active window.
    setFocusPolicy(Qt::StrongFocus);
    m_skinForm->setKeyColor(0xFFFFFF);
    m_skinForm->setTolerance(0);
    m_skinForm->setShowHint(true);
    giveDisplaysVoices();
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

// A reader hears a new clip's title wherever its focus is, and hears the clocks as what they
// are: the time played and the clip's length, without the stroke drawn between them.
void TForm1::giveDisplaysVoices() {
    using Voice = TSkinForm::DisplayVoice;
    const auto clock = [](const FixedText& meaning, bool afterStroke) {
        return [meaning, afterStroke](const QString& shown) {
            QString time = shown.trimmed();
            if (afterStroke && time.startsWith(QLatin1Char('/'))) time = time.mid(1).trimmed();
            return time.isEmpty() ? time : meaning.arg(time);
        };
    };
    m_skinForm->setDisplayVoice(PlayerElement::TextTitle.toString(), Voice{{}, true});
    m_skinForm->setDisplayVoice(PlayerElement::TextPos.toString(),
                                Voice{clock(FixedTexts::ElapsedTime, false), false});
    m_skinForm->setDisplayVoice(PlayerElement::TextTotal.toString(),
                                Voice{clock(FixedTexts::ClipLength, true), false});
}

void TForm1::SkinForm1MouseUpNotify(const QString& id, Qt::MouseButton button, ShiftState, int,
                                    int) {
    if (!m_commands) return;
    ErrorBox::run([&] { m_commands->SkinForm1MouseUpNotify(id, button); });
    emit buttonReleased(id);
}

void TForm1::SkinForm1TrackBarNotify(const QString& id, int position) {
    if (!m_commands) return;
    ErrorBox::run([&] { m_commands->SkinForm1TrackBarNotify(id, position); });
}

void TForm1::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
    if (!m_commands) return;
    ErrorBox::run([&] { m_commands->HandleKey(key, shift); });
}

void TForm1::showState(const PlaybackState& before, const PlaybackState& now) {
    m_displays.show(before, now);
}

// Space and Enter press the element that has the focus; the panel's key table has no use for
// them. A focused slider moves by the keys the table leaves free (+ and -, Home and End); the
// arrows and the page keys keep their meaning everywhere. Every other key, and these with
// nothing focused, goes to the table as before.
void TForm1::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool pressKey = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool plain = (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (pressKey && plain && m_skinForm->pressFocusedElement()) {
        return;
    }
    if (!PanelCommands::takesKey(key, modifiers) && m_skinForm->slideFocusedElement(key, modifiers))
        return;
    FormKeyDown(key, modifiers);
}

bool TForm1::focusNextPrevChild(bool next) { return m_skinForm->moveElementFocus(next); }

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

// The program that dragged waits until the drop event returns: the clip is opened, and a
// failure shown, after that.
void TForm1::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        this,
        [this, urls] {
            if (m_commands) ErrorBox::run([this, &urls] { m_commands->FilesDropped(urls); });
        },
        Qt::QueuedConnection);
}

} // namespace korvel
