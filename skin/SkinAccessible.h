#pragma once

#include "skin/SkinElementList.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <chrono>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace korvel {

class SkinAnnouncement;
class TSkinForm;

// The skin component to assistive tools: a client area whose children are the skin's
// elements in reading order (SkinElementAccessible), so a screen reader finds buttons, toggle
// buttons, sliders and texts where the face only shows pictures. It also tells them what
// changes: a toggle's state, a slider's value, a display's text, the keyboard focus. A form
// with an announced display has one more child after its elements: the notice that tells
// that display's new texts (SkinAnnouncement).
class SkinAccessible : public QAccessibleWidget {
public:
    explicit SkinAccessible(TSkinForm* form);
    ~SkinAccessible() override;

    // Makes Qt's accessibility ask this class for every skin component; once per program.
    static void installFactory();
    // Tells assistive tools what changed on the form's elements since the last call. Costs
    // nothing while no tool listens.
    static void announceChanges(TSkinForm* form);
    static void announceFocus(TSkinForm* form);
    // Where the announcements go: to Qt's accessibility (none given), or to a test's record.
    using Announcer = void (*)(QAccessibleEvent* event);
    static void setAnnouncer(Announcer announcer);
    // Takes what every form shows now as what was last told: called when a tool starts to
    // listen, which hears of changes only from then on.
    static void startListening();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The interface of one element; made once and kept while the form lives.
    QAccessibleInterface* element(SkinElementRef element) const;

private:
    // What assistive tools were last told of each element, in table order.
    struct Seen {
        SkinElementRef element;
        bool down;
        int position;
        QString text;
        bool operator==(const Seen&) const = default;
    };

    using Clock = std::chrono::steady_clock;

    TSkinForm* form() const;
    std::vector<SkinElementRef> elements() const;
    std::vector<Seen> seenNow() const;
    void announce();
    void tellChange(const Seen& was, const Seen& is);
    void tellValue(const Seen& is);
    void tellText(const Seen& is);
    bool hasAnnouncement() const;
    SkinAnnouncement* announcement() const;
    void renewAnnouncement(const QString& text);

    // The form stays known here while Qt destroys it, when its widget is gone already.
    TSkinForm* m_form;
    mutable std::map<std::tuple<int, int>, QAccessible::Id> m_children;
    std::vector<Seen> m_seen;
    mutable std::optional<QAccessible::Id> m_announcement;
    // When each slider's value was last told.
    std::map<std::tuple<int, int>, Clock::time_point> m_valueTold;
};

} // namespace korvel
