#include "skin/SkinAnnouncement.h"

#include "skin/SkinForm.h"

#include <QWindow>

namespace korvel {

QWindow* SkinAnnouncement::window() const {
    return m_form ? m_form->window()->windowHandle() : nullptr;
}

QAccessibleInterface* SkinAnnouncement::parent() const {
    return m_form ? QAccessible::queryAccessibleInterface(m_form.data()) : nullptr;
}

QString SkinAnnouncement::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? m_text : QString();
}

QAccessible::State SkinAnnouncement::state() const {
    QAccessible::State state;
    state.readOnly = true;
    state.invisible = !m_form || !m_form->isVisible();
    return state;
}

} // namespace korvel
