#include "skin/SkinAccessible.h"

#include "skin/SkinAnnouncement.h"
#include "skin/SkinElementAccessible.h"
#include "skin/SkinForm.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace korvel {

namespace {

QAccessibleInterface* skinFactory(const QString&, QObject* object) {
    if (auto* form = qobject_cast<TSkinForm*>(object)) return new SkinAccessible(form);
    return nullptr;
}

// The forms some tool has asked about: only those have anyone to tell of a change, and the
// panel changes its texts many times a second. Never destroyed: Qt's registry deletes the
// interfaces last of all, at the program's end.
std::unordered_map<const TSkinForm*, SkinAccessible*>& asked() {
    static auto* forms = new std::unordered_map<const TSkinForm*, SkinAccessible*>;
    return *forms;
}

SkinAccessible::Announcer announcer = nullptr;

// Qt makes a form's interface as soon as the form shows, tool or no tool; what the form shows
// is looked at only while someone hears of it. Measuring the texts costs a shaping of each one,
// and the panel sets its texts many times a second while a clip plays.
bool listening() { return announcer != nullptr || QAccessible::isActive(); }

void tell(QAccessibleEvent& event) {
    if (announcer) {
        announcer(&event);
    } else {
        QAccessible::updateAccessibility(&event);
    }
}

// A slider that playback moves (the position slider, every 1 % of the clip) is told at most
// this often, which a listener can follow; one the user moves is told at once.
constexpr auto PlaybackValuePace = std::chrono::seconds(10);

std::tuple<int, int> keyOf(SkinElementRef element) {
    return std::make_tuple(int(element.kind), element.index);
}

SkinAccessible* accessibleOf(TSkinForm* form) {
    const auto it = asked().find(form);
    return it == asked().end() ? nullptr : it->second;
}

} // namespace

SkinAccessible::SkinAccessible(TSkinForm* form)
    : QAccessibleWidget(form, QAccessible::Client), m_form(form) {
    if (listening()) m_seen = seenNow();
    asked()[form] = this;
}

// The elements' interfaces belong to Qt's registry, which would keep them until the program
// ends; they go with the form.
SkinAccessible::~SkinAccessible() {
    asked().erase(m_form);
    for (const auto& [key, id] : m_children) QAccessible::deleteAccessibleInterface(id);
    if (m_announcement) QAccessible::deleteAccessibleInterface(*m_announcement);
}

void SkinAccessible::setAnnouncer(Announcer given) {
    announcer = given;
    if (given) startListening();
}

// A tool that starts to listen hears what changes from then on, the first change included.
void SkinAccessible::startListening() {
    for (const auto& [form, self] : asked()) self->m_seen = self->seenNow();
}

namespace {

struct ToolWatch : QAccessible::ActivationObserver {
    void accessibilityActiveChanged(bool active) override {
        if (active) SkinAccessible::startListening();
    }
};

} // namespace

void SkinAccessible::installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(skinFactory);
        // Never destroyed: Qt keeps it in its list to the program's end, and so does this
        // pointer, also once the list itself has gone at the exit.
        static ToolWatch* const watch = new ToolWatch;
        QAccessible::installActivationObserver(watch);
        return true;
    }();
    Q_UNUSED(installed);
}

TSkinForm* SkinAccessible::form() const { return m_form; }

std::vector<SkinElementRef> SkinAccessible::elements() const {
    return SkinElementList::readingOrder(form()->engine().model());
}

int SkinAccessible::childCount() const {
    return int(elements().size()) + (hasAnnouncement() ? 1 : 0);
}

QAccessibleInterface* SkinAccessible::child(int index) const {
    const std::vector<SkinElementRef> all = elements();
    if (index == int(all.size()) && hasAnnouncement()) return announcement();
    if (index < 0 || index >= int(all.size())) return nullptr;
    return element(all[std::size_t(index)]);
}

bool SkinAccessible::hasAnnouncement() const {
    for (const DisplayInfoRec& display : form()->engine().model().Displays) {
        const TSkinForm::DisplayVoice* voice = form()->displayVoice(display.ID);
        if (voice && voice->announced) return true;
    }
    return false;
}

SkinAnnouncement* SkinAccessible::announcement() const {
    if (!m_announcement) {
        m_announcement = QAccessible::registerAccessibleInterface(new SkinAnnouncement(form()));
    }
    return static_cast<SkinAnnouncement*>(QAccessible::accessibleInterface(*m_announcement));
}

QAccessibleInterface* SkinAccessible::element(SkinElementRef element) const {
    const auto key = keyOf(element);
    if (const auto it = m_children.find(key); it != m_children.end()) {
        return QAccessible::accessibleInterface(it->second);
    }
    auto* made = new SkinElementAccessible(form(), element);
    m_children.emplace(key, QAccessible::registerAccessibleInterface(made));
    return made;
}

int SkinAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (m_announcement && child == QAccessible::accessibleInterface(*m_announcement)) {
        return int(elements().size());
    }
    const auto* own = dynamic_cast<const SkinElementAccessible*>(child);
    if (!own || own->parent() != this) return -1;
    const std::vector<SkinElementRef> all = elements();
    const auto it = std::find(all.begin(), all.end(), own->element());
    return it == all.end() ? -1 : int(it - all.begin());
}

// The point is on the screen. A display's text may lie over a button; buttons come first.
QAccessibleInterface* SkinAccessible::childAt(int x, int y) const {
    const QPoint at = form()->mapFromGlobal(QPoint(x, y));
    const SkinModel& model = form()->engine().model();
    std::optional<SkinElementRef> display;
    for (const SkinElementRef& e : elements()) {
        if (!SkinElementList::rect(model, e).contains(at)) continue;
        if (e.focusable()) return element(e);
        if (!display) display = e;
    }
    return display ? element(*display) : nullptr;
}

QAccessibleInterface* SkinAccessible::focusChild() const {
    const auto& focus = form()->focusedElement();
    return focus && form()->showsFocusMark() ? element(*focus) : nullptr;
}

std::vector<SkinAccessible::Seen> SkinAccessible::seenNow() const {
    const SkinModel& model = form()->engine().model();
    std::vector<Seen> seen;
    for (const SkinElementRef& e : SkinElementList::tableOrder(model)) {
        Seen s{e, false, 0, {}};
        const auto i = std::size_t(e.index);
        if (e.kind == SkinElementRef::Kind::Toggle) s.down = model.HotAreas[i].Down;
        if (e.kind == SkinElementRef::Kind::Slider) s.position = model.TrackBars[i].Position;
        if (e.kind == SkinElementRef::Kind::Display) s.text = model.Displays[i].Text;
        seen.push_back(s);
    }
    return seen;
}

void SkinAccessible::announceChanges(TSkinForm* form) {
    if (!listening()) return;
    if (SkinAccessible* self = accessibleOf(form)) self->announce();
}

// Only what changed is told: the panel sets its texts and sliders many times a second,
// mostly to what they already show. A skin loaded since is taken as it is. Changes that come
// together are told in reading order.
void SkinAccessible::announce() {
    const std::vector<Seen> now = seenNow();
    const std::vector<Seen> was = std::exchange(m_seen, now);
    std::vector<std::size_t> changed;
    if (was.size() == now.size()) {
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (was[i].element == now[i].element && !(was[i] == now[i])) changed.push_back(i);
        }
    }
    if (changed.size() > 1) {
        const std::vector<SkinElementRef> order = elements();
        const auto place = [&order, &now](std::size_t i) {
            return std::find(order.begin(), order.end(), now[i].element) - order.begin();
        };
        std::stable_sort(changed.begin(), changed.end(),
                         [&place](std::size_t a, std::size_t b) { return place(a) < place(b); });
    }
    for (const std::size_t i : changed) tellChange(was[i], now[i]);
}

void SkinAccessible::tellChange(const Seen& was, const Seen& is) {
    if (was.down != is.down) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(element(is.element), changed);
        tell(event);
    }
    if (was.position != is.position) tellValue(is);
    if (was.text != is.text) tellText(is);
}

void SkinAccessible::tellValue(const Seen& is) {
    const Clock::time_point now = Clock::now();
    const auto told = m_valueTold.find(keyOf(is.element));
    if (!form()->changedByUser() && told != m_valueTold.end() &&
        now - told->second < PlaybackValuePace) {
        return;
    }
    m_valueTold[keyOf(is.element)] = now;
    QAccessibleValueChangeEvent event(element(is.element), is.position);
    tell(event);
}

// Every new text is a new name; that of an announced display is also told as a notice, so
// that it is heard.
void SkinAccessible::tellText(const Seen& is) {
    QAccessibleInterface* iface = element(is.element);
    QAccessibleEvent named(iface, QAccessible::NameChanged);
    tell(named);
    const QString& id = form()->engine().model().Displays[std::size_t(is.element.index)].ID;
    const TSkinForm::DisplayVoice* voice = form()->displayVoice(id);
    if (!voice || !voice->announced || is.text.trimmed().isEmpty()) return;
    renewAnnouncement(iface->text(QAccessible::Name));
    QAccessibleEvent shown(announcement(), QAccessible::ObjectShow);
    tell(shown);
}

// Each new text is a notice of its own, the one before it gone. Readers keep what they have
// read of an element: a notice whose text changed in place was heard with its first text, the
// file's name, when the clip's own title came a moment after it.
void SkinAccessible::renewAnnouncement(const QString& text) {
    if (m_announcement) QAccessible::deleteAccessibleInterface(*m_announcement);
    m_announcement.reset();
    announcement()->setText(text);
}

void SkinAccessible::announceFocus(TSkinForm* form) {
    SkinAccessible* self = accessibleOf(form);
    if (!self || !form->focusedElement()) return;
    QAccessibleEvent event(self->element(*form->focusedElement()), QAccessible::Focus);
    tell(event);
}

} // namespace korvel
