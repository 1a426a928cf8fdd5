#include "skin/SkinElementAccessible.h"

#include "skin/SkinForm.h"
#include "skin/SkinHint.h"

#include <QWidget>
#include <QWindow>

namespace korvel {

using Kind = SkinElementRef::Kind;

SkinElementAccessible::SkinElementAccessible(TSkinForm* form, SkinElementRef element)
    : m_form(form), m_element(element) {}

bool SkinElementAccessible::isValid() const {
    return m_form && SkinElementList::exists(m_form->engine().model(), m_element);
}

QWindow* SkinElementAccessible::window() const {
    return m_form ? m_form->window()->windowHandle() : nullptr;
}

QAccessibleInterface* SkinElementAccessible::parent() const {
    return m_form ? QAccessible::queryAccessibleInterface(m_form.data()) : nullptr;
}

QString SkinElementAccessible::text(QAccessible::Text t) const {
    if (!isValid() || t != QAccessible::Name) return {};
    const SkinModel& model = m_form->engine().model();
    const auto i = std::size_t(m_element.index);
    switch (m_element.kind) {
    case Kind::Button:
    case Kind::Toggle: {
        const HotAreaInfoRec& area = model.HotAreas[i];
        // An element without a hint is still named: by what the skin calls it.
        return area.Hint.isEmpty() ? area.ID : SkinHint::shown(area.Hint);
    }
    case Kind::Slider: {
        const TrackBarInfoRec& bar = model.TrackBars[i];
        return bar.Hint.isEmpty() ? bar.ID : SkinHint::shown(bar.Hint);
    }
    case Kind::Display: {
        const DisplayInfoRec& display = model.Displays[i];
        const TSkinForm::DisplayVoice* voice = m_form->displayVoice(display.ID);
        return voice && voice->spoken ? voice->spoken(display.Text) : display.Text;
    }
    }
    return {};
}

// On the screen, as assistive tools place things.
QRect SkinElementAccessible::rect() const {
    if (!isValid()) return {};
    const QRect face = SkinElementList::rect(m_form->engine().model(), m_element);
    return QRect(m_form->mapToGlobal(face.topLeft()), face.size());
}

QAccessible::Role SkinElementAccessible::role() const {
    switch (m_element.kind) {
    case Kind::Button: return QAccessible::PushButton;
    // Readers speak a check box's state with its name; a checked push button they often
    // do not.
    case Kind::Toggle: return QAccessible::CheckBox;
    case Kind::Slider: return QAccessible::Slider;
    case Kind::Display: return QAccessible::StaticText;
    }
    return QAccessible::NoRole;
}

QAccessible::State SkinElementAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.invisible = !m_form->isVisible();
    if (m_element.kind == Kind::Display) {
        state.readOnly = true;
        return state;
    }
    state.focusable = true;
    state.focused = m_form->showsFocusMark() && m_form->focusedElement() == m_element;
    if (m_element.kind == Kind::Slider) return state;
    const HotAreaInfoRec& area = m_form->engine().model().HotAreas[std::size_t(m_element.index)];
    state.pressed = area.Pressed;
    if (m_element.kind == Kind::Toggle) {
        state.checkable = true;
        state.checked = area.Down;
    }
    return state;
}

void* SkinElementAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface && pressable()) {
        return static_cast<QAccessibleActionInterface*>(this);
    }
    if (type == QAccessible::ValueInterface && m_element.kind == Kind::Slider) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return nullptr;
}

bool SkinElementAccessible::pressable() const {
    return m_element.kind == Kind::Button || m_element.kind == Kind::Toggle;
}

QStringList SkinElementAccessible::actionNames() const {
    if (!pressable()) return {};
    if (m_element.kind == Kind::Toggle) return {toggleAction(), pressAction()};
    return {pressAction()};
}

// Both actions are the click: for a toggle that is also what flips it.
void SkinElementAccessible::doAction(const QString& actionName) {
    if (!isValid() || !actionNames().contains(actionName)) return;
    m_form->pressElement(m_element);
}

QVariant SkinElementAccessible::currentValue() const {
    if (!isValid() || m_element.kind != Kind::Slider) return {};
    return int(m_form->engine().model().TrackBars[std::size_t(m_element.index)].Position);
}

void SkinElementAccessible::setCurrentValue(const QVariant& value) {
    if (!isValid() || !value.canConvert<int>()) return;
    m_form->setElementValue(m_element, value.toInt());
}

QVariant SkinElementAccessible::maximumValue() const {
    if (!isValid() || m_element.kind != Kind::Slider) return {};
    return int(m_form->engine().model().TrackBars[std::size_t(m_element.index)].MaxPosition);
}

QVariant SkinElementAccessible::minimumValue() const {
    if (!isValid() || m_element.kind != Kind::Slider) return {};
    return int(m_form->engine().model().TrackBars[std::size_t(m_element.index)].MinPosition);
}

} // namespace korvel
