#include "skin/FaceFocusWalk.h"

#include "skin/SkinForm.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace korvel {

FaceFocusWalk::FaceFocusWalk(TSkinForm& face, std::vector<QWidget*> widgets)
    : QObject(&face), m_face(face), m_widgets(std::move(widgets)) {
    for (QWidget* widget : m_widgets) {
        widget->installEventFilter(this);
        for (QWidget* part : widget->findChildren<QWidget*>()) part->installEventFilter(this);
    }
}

std::vector<FaceFocusWalk::Stop> FaceFocusWalk::stops() const {
    std::vector<Stop> all;
    const SkinModel& model = m_face.engine().model();
    for (const SkinElementRef element : SkinElementList::readingOrder(model)) {
        if (element.focusable())
            all.push_back({element, nullptr, SkinElementList::rect(model, element)});
    }
    for (QWidget* widget : m_widgets) {
        if (!widget->isEnabled() || !widget->isVisibleTo(m_face.window())) continue;
        const QRect place(widget->mapTo(m_face.window(), QPoint(0, 0)), widget->size());
        all.push_back({std::nullopt, widget, place.translated(-m_face.pos())});
    }
    std::vector<QRect> rects;
    for (const Stop& stop : all) rects.push_back(stop.rect);
    std::vector<Stop> ordered;
    for (const int i : SkinElementList::readingOrder(rects)) ordered.push_back(all[std::size_t(i)]);
    return ordered;
}

int FaceFocusWalk::current(const std::vector<Stop>& stops) const {
    const QWidget* focus = QApplication::focusWidget();
    for (int i = 0; i < int(stops.size()); ++i) {
        const Stop& stop = stops[std::size_t(i)];
        if (stop.widget && focus && (stop.widget == focus || stop.widget->isAncestorOf(focus)))
            return i;
        if (stop.element && stop.element == m_face.focusedElement()) return i;
    }
    return -1;
}

bool FaceFocusWalk::move(bool forward) {
    const std::vector<Stop> all = stops();
    if (all.empty()) return false;
    const int n = int(all.size());
    const int at = current(all);
    const int next = at < 0 ? (forward ? 0 : n - 1) : (at + (forward ? 1 : n - 1)) % n;
    focus(all[std::size_t(next)]);
    return true;
}

void FaceFocusWalk::focus(const Stop& stop) {
    if (stop.widget) {
        m_face.clearElementFocus();
        stop.widget->setFocus(Qt::TabFocusReason);
        return;
    }
    // The face holds the keyboard while one of its elements has the focus: the keys go to
    // the window through it, and no field types them.
    m_face.setFocus(Qt::TabFocusReason);
    m_face.focusElement(stop.element);
}

bool FaceFocusWalk::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) m_face.clearElementFocus();
    return QObject::eventFilter(watched, event);
}

} // namespace korvel
