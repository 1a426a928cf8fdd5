#include "skin/SkinForm.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "skin/SkinAccessible.h"
#include "skin/SystemMove.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QToolTip>
#include <QWindow>
#include <QtMath>

#include <algorithm>
#include <utility>

namespace korvel {

namespace {

QWidget* requireForm(QWidget* form) {
    if (!form || !form->isWindow()) throw KorvelError(FixedTexts::DropOnForm);
    return form;
}

ShiftState shiftOf(const QMouseEvent* event, bool doubleClick) {
    return ShiftState{event->modifiers(), event->buttons(), doubleClick};
}

// The face pixel under the pointer. On a scaled screen the pointer moves in fractions of a
// face pixel, and every part of a pixel's enlarged block is that pixel: the position is cut
// to whole pixels, never rounded (rounding gave the right and lower half of a block to the
// next pixel, and a press on a button's last column to the bare face beside it, which then
// dragged the window). The toolkit rounds a widget's own position, so the point is taken
// from the window's.
QPoint facePoint(const QWidget* face, const QMouseEvent* event) {
    const QPointF at = event->scenePosition();
    return QPoint(qFloor(at.x()), qFloor(at.y())) - face->mapTo(face->window(), QPoint(0, 0));
}

} // namespace

TSkinForm::TSkinForm(QWidget* form)
    : QWidget(requireForm(form)), m_engine(this), m_pointer(m_engine) {
    form->setWindowFlag(Qt::FramelessWindowHint, true);
    // The face is opaque everywhere: nothing behind it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Hints show over an inactive panel too.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setMouseTracking(true);
    setGeometry(form->rect());
    SkinAccessible::installFactory();
}

TSkinForm::~TSkinForm() = default;

void TSkinForm::setSkinFile(const QString& file) {
    if (!file.isEmpty()) m_engine.model().SkinFile = file;
}

void TSkinForm::adoptSkin(SkinEngine& prepared) {
    m_engine.adopt(prepared);
    // The focus was on an element of the old face; the new one may lack it.
    if (m_focus && !SkinElementList::exists(m_engine.model(), *m_focus)) clearElementFocus();
    m_shownHint.clear();
    // Assistive tools read the elements anew: the new face may have others, or fewer.
    QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
}

void TSkinForm::resizeTo(QSize size) {
    QWidget* form = window();
    form->setFixedSize(size);
    setGeometry(QRect(QPoint(0, 0), size));
}

void TSkinForm::setShape(const std::optional<QRegion>& region) {
    if (!region) {
        window()->clearMask();
    } else if (region->isEmpty()) {
        // An empty mask would mean "no mask" here; a mask cut away everywhere shows nothing.
        window()->setMask(QRegion(-1, -1, 1, 1));
    } else {
        window()->setMask(*region);
    }
}

void TSkinForm::showFace() {
    update();
    SkinAccessible::announceChanges(this);
}

bool TSkinForm::moveElementFocus(bool forward) {
    m_focus = SkinElementList::nextFocus(m_engine.model(), m_focus, forward);
    update();
    SkinAccessible::announceFocus(this);
    return m_focus.has_value();
}

void TSkinForm::focusElement(std::optional<SkinElementRef> element) {
    if (element && !(element->focusable() && SkinElementList::exists(m_engine.model(), *element)))
        element.reset();
    if (element == m_focus) return;
    m_focus = element;
    update();
    SkinAccessible::announceFocus(this);
}

void TSkinForm::clearElementFocus() {
    if (!m_focus) return;
    m_focus.reset();
    update();
}

bool TSkinForm::showsFocusMark() const {
    return m_focus && SkinElementList::exists(m_engine.model(), *m_focus) &&
           window()->isActiveWindow();
}

bool TSkinForm::pressElement(SkinElementRef element) {
    if (!SkinElementList::exists(m_engine.model(), element)) return false;
    if (element.kind != SkinElementRef::Kind::Button &&
        element.kind != SkinElementRef::Kind::Toggle) {
        return false;
    }
    m_pointer.click(element.index);
    return true;
}

const TSkinForm::DisplayVoice* TSkinForm::displayVoice(const QString& id) const {
    const auto it = m_voices.find(id);
    return it == m_voices.end() ? nullptr : &it->second;
}

void TSkinForm::setElementValue(SkinElementRef element, int value) {
    if (element.kind != SkinElementRef::Kind::Slider) return;
    const QScopedValueRollback<bool> byUser(m_byUser, true);
    m_pointer.moveTrackBar(element.index, value);
}

namespace {

bool isSlideKey(int key) {
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Minus:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
    }
}

} // namespace

bool TSkinForm::slideFocusedElement(int key, Qt::KeyboardModifiers modifiers) {
    // The + of many keyboards needs Shift, and the keypad's are keys of their own.
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (!m_focus || m_focus->kind != SkinElementRef::Kind::Slider || !isSlideKey(key) ||
        !SkinElementList::exists(m_engine.model(), *m_focus)) {
        return false;
    }
    constexpr int Step = 5;
    constexpr int PageStep = 20;
    const int now = m_engine.model().TrackBars[std::size_t(m_focus->index)].Position;
    const int to = key == Qt::Key_Plus       ? now + Step
                   : key == Qt::Key_Minus    ? now - Step
                   : key == Qt::Key_PageUp   ? now + PageStep
                   : key == Qt::Key_PageDown ? now - PageStep
                   : key == Qt::Key_Home     ? 0
                                             : 100;
    setElementValue(*m_focus, std::clamp(to, 0, 100));
    return true;
}

// A press's own handlers may let events run (a seek by the position slider does), or show an
// error box, and the release can be taken there: a window move asked for with the button up
// would have the window follow the pointer until the next click. It starts only while the
// button is still down, as the window system sees it: a tap's release may be waiting already.
void TSkinForm::press(QMouseEvent* event, bool doubleClick) {
    const QPoint at = facePoint(this, event);
    const ShiftState shift = shiftOf(event, doubleClick);
    if (moving()) endMove();
    const QScopedValueRollback<bool> byUser(m_byUser, true);
    if (m_pointer.MouseDown(event->button(), shift, at.x(), at.y()) &&
        SystemMove::buttonDown(event->button())) {
        m_movePress = MovePress{event->button(), shift, at};
        moveWindow(event);
        return;
    }
    m_pointer.finishPress(event->button(), shift, at.x(), at.y());
}

void TSkinForm::endMove() {
    m_ownMove = m_systemMove = false;
    if (!m_movePress) return;
    const MovePress press = *std::exchange(m_movePress, std::nullopt);
    m_pointer.finishPress(press.button, press.shift, press.at.x(), press.at.y());
}

void TSkinForm::moveWindow(QMouseEvent* event) {
    QWindow* handle = window()->windowHandle();
    if (handle && handle->startSystemMove()) {
        // The window system moves the window and takes the release that ends the move.
        m_systemMove = true;
        return;
    }
    // Where the window system cannot move windows, the window follows the pointer itself.
    m_ownMove = true;
    m_moveGrab = event->globalPosition().toPoint() - window()->pos();
}

void TSkinForm::mousePressEvent(QMouseEvent* event) { press(event, false); }

// A double click is a second press, marked as such.
void TSkinForm::mouseDoubleClickEvent(QMouseEvent* event) { press(event, true); }

void TSkinForm::mouseMoveEvent(QMouseEvent* event) {
    // A move with the button up: the window system kept the release that ended the move.
    if (moving() && !event->buttons().testFlag(Qt::LeftButton)) endMove();
    if (m_ownMove) {
        window()->move(event->globalPosition().toPoint() - m_moveGrab);
        return;
    }
    // The pointer drags the window, not the face.
    if (m_systemMove) return;
    const QPoint at = facePoint(this, event);
    const QScopedValueRollback<bool> byUser(m_byUser, true);
    m_pointer.MouseMove(shiftOf(event, false), at.x(), at.y());
    followHint(event);
}

// The tooltip shown names the element it was shown over; once the pointer is over another,
// it names that one, or goes.
void TSkinForm::followHint(const QMouseEvent* event) {
    if (m_shownHint.isEmpty()) return;
    if (!QToolTip::isVisible() || QToolTip::text() != m_shownHint) {
        m_shownHint.clear();
        return;
    }
    const QString text = m_pointer.tooltipText();
    if (text == m_shownHint) return;
    m_shownHint = text;
    if (text.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(event->globalPosition().toPoint(), text, this, rect());
}

void TSkinForm::mouseReleaseEvent(QMouseEvent* event) {
    if (moving()) {
        // The release that ends a window move belongs to the move. Seen here, it came before
        // the window manager took the move on: that move must not start with the button up.
        if (m_systemMove) SystemMove::cancel(window()->windowHandle());
        endMove();
        return;
    }
    const QPoint at = facePoint(this, event);
    m_pointer.MouseUp(event->button(), shiftOf(event, false), at.x(), at.y());
}

bool TSkinForm::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) return ShowHintHook(static_cast<QHelpEvent*>(event));
    // The focus mark shows only while the window has the keyboard.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
        if (m_focus) update();
    }
    if (m_restsWhileHidden && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        m_engine.rest(event->type() == QEvent::Hide);
    return QWidget::event(event);
}

// The hint of the element under the pointer; the tooltip stays while the pointer is on the
// face (leaving it hides the tooltip) and follows the element under it as it moves.
bool TSkinForm::ShowHintHook(QHelpEvent* event) {
    const QString text = m_showHint ? m_pointer.tooltipText() : QString();
    m_shownHint = text;
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(event->globalPos(), text, this, rect());
    return true;
}

void TSkinForm::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage& face = m_engine.face();
    painter.drawImage(event->rect(), face, event->rect());
    if (!showsFocusMark()) return;
    // Inverted dots stand out on any face, light or dark.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(SkinElementList::rect(m_engine.model(), *m_focus).adjusted(0, 0, -1, -1));
}

} // namespace korvel
