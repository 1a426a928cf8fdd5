#include "playlist/PlayCountBox.h"

#include "base/IntegerText.h"

#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QStyleOptionSpinBox>

#include <algorithm>

namespace korvel {

namespace {

const QColor ArrowOn(0xa4, 0xaa, 0xb4);
const QColor ArrowOff(0x4a, 0x4f, 0x58);

// A triangle 7 pixels wide and 4 high in the middle of `button`, pointing up or down.
QPolygon arrow(QRect button, bool up) {
    const QPoint c = button.center();
    const int tip = up ? -2 : 2;
    return QPolygon({QPoint(c.x() - 3, c.y() - tip), QPoint(c.x() + 3, c.y() - tip),
                     QPoint(c.x(), c.y() + tip)});
}

} // namespace

PlayCountBox::PlayCountBox(QWidget* parent) : QSpinBox(parent) {
    // Counts are ASCII digits in the list whatever the locale: the box shows and takes them
    // as they are stored, and textValue reads what it shows.
    setLocale(QLocale::c());
    setRange(Minimum, Maximum);
    setValue(Minimum);
    lineEdit()->setMaxLength(2);
    setCorrectionMode(CorrectToNearestValue);
    m_shown = text();
    // The spin box reports text only with a new value, and its editor is silent when the
    // value is set: between them they see every change.
    connect(lineEdit(), &QLineEdit::textChanged, this, &PlayCountBox::noteText);
    connect(this, &QSpinBox::textChanged, this, &PlayCountBox::noteText);
}

int PlayCountBox::textValue() const { return IntegerText::parse(text()).value_or(1); }

void PlayCountBox::noteText() {
    if (text() == m_shown) return;
    m_shown = text();
    emit shownTextChanged();
}

void PlayCountBox::focusOutEvent(QFocusEvent* event) {
    setValue(std::clamp(textValue(), Minimum, Maximum));
    QSpinBox::focusOutEvent(event);
}

void PlayCountBox::paintEvent(QPaintEvent* event) {
    QSpinBox::paintEvent(event);
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (const bool up : {true, false}) {
        const QRect button = style()->subControlRect(
            QStyle::CC_SpinBox, &option, up ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown, this);
        const bool enabled = up ? value() < maximum() : value() > minimum();
        painter.setBrush(enabled ? ArrowOn : ArrowOff);
        painter.drawPolygon(arrow(button, up));
    }
}

} // namespace korvel
