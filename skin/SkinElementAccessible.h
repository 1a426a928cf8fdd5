#pragma once

#include "skin/SkinElementList.h"

#include <QAccessible>
#include <QPointer>

namespace korvel {

class TSkinForm;

// One element of a skin to assistive tools: a push button or, for a toggle, a check box that
// can be pressed, a slider with its value and range, or a static text. The element is read from
// the form's skin on every question, so a tool always sees what the face shows; once the form
// is gone, the interface is no longer valid.
class SkinElementAccessible : public QAccessibleInterface,
                              public QAccessibleActionInterface,
                              public QAccessibleValueInterface {
public:
    SkinElementAccessible(TSkinForm* form, SkinElementRef element);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 1; }

    SkinElementRef element() const { return m_element; }

private:
    bool pressable() const;

    QPointer<TSkinForm> m_form;
    SkinElementRef m_element;
};

} // namespace korvel
