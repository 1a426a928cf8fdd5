#pragma once

#include <QAccessible>
#include <QPointer>

namespace korvel {

class TSkinForm;

// The notice a skin component gives assistive tools when a display that is announced shows a
// new text (the panel's title at each new clip): a notification whose text is the last one
// announced. Readers speak a notification as it shows, wherever the keyboard's focus is; a
// label's new text they speak only when the label has the focus, which a display never has.
class SkinAnnouncement : public QAccessibleInterface {
public:
    explicit SkinAnnouncement(TSkinForm* form) : m_form(form) {}

    void setText(const QString& text) { m_text = text; }

    bool isValid() const override { return !m_form.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    // No place of its own: it is heard, not seen.
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override;

private:
    QPointer<TSkinForm> m_form;
    QString m_text;
};

} // namespace korvel
