#pragma once

#include "skin/SkinElementList.h"
#include "skin/SkinEngine.h"
#include "skin/SkinPointer.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QHelpEvent;
class QMouseEvent;

namespace korvel {

// The skin component: fills its window, gives it the skin's size, outline and face, and
// forwards pointer input to the engine. The window it is placed on becomes borderless.
class TSkinForm : public QWidget, private SkinWindow {
    Q_OBJECT

public:
    // `form` must be a top-level window; anything else raises "Please Drop on a Form".
    explicit TSkinForm(QWidget* form);
    ~TSkinForm() override;

    void LoadSkin(const QString& name) { m_engine.LoadSkin(name); }
    // Another skin for this window: read whole first, then taken (SkinEngine::adopt); the
    // window takes the new face's size and shape.
    std::unique_ptr<SkinEngine> prepareSkin(const SkinSource& source, const QString& name) const {
        return m_engine.prepared(source, name);
    }
    void adoptSkin(SkinEngine& prepared);
    // The face's pictures are let go while the window is hidden and read again as it is shown
    // (a window hidden most of the time need not hold them); asked for before the skin loads,
    // a hidden window reads them first when it is shown.
    void restWhileHidden() {
        m_restsWhileHidden = true;
        m_engine.rest(!isVisible());
    }
    void SetButtonState(QStringView id, bool state) { m_engine.SetButtonState(id, state); }
    bool GetButtonState(QStringView id) const { return m_engine.GetButtonState(id); }
    void SetDisplayText(QStringView id, const QString& text) { m_engine.SetDisplayText(id, text); }
    std::int32_t GetTrackBarPosition(QStringView id) const {
        return m_engine.GetTrackBarPosition(id);
    }
    void SetTrackBarPosition(QStringView id, std::int32_t position) {
        m_engine.SetTrackBarPosition(id, position);
    }

    void setKeyColor(std::uint32_t color) { m_engine.setKeyColor(color); }
    void setTolerance(std::uint32_t tolerance) { m_engine.setTolerance(tolerance); }
    // Stored only.
    void setSkinFile(const QString& file);

    // Whether hints show as tooltips over this face (the player panel's do). A tooltip shown
    // follows the element under the pointer: another element's hint replaces it, and it goes
    // over an element without one and over the bare face.
    void setShowHint(bool show) { m_showHint = show; }

    // The keyboard's focus among the elements: Tab and Shift+Tab move it through the
    // focusable elements in reading order. It shows as a dotted mark over the face while the
    // window is active; the face itself never holds the mark.
    bool moveElementFocus(bool forward);
    // Puts the focus on that element (none clears it), as Tab would have.
    void focusElement(std::optional<SkinElementRef> element);
    void clearElementFocus();
    const std::optional<SkinElementRef>& focusedElement() const { return m_focus; }
    bool showsFocusMark() const;
    // Runs what a left click on a button runs, through the pointer's own press and release;
    // false for an element that takes no press.
    bool pressElement(SkinElementRef element);
    bool pressFocusedElement() { return m_focus && pressElement(*m_focus); }
    // Sets a slider as a drag to that position would.
    void setElementValue(SkinElementRef element, int value);
    // The keys of a focused slider: + and - move it a step, Page Up and Page Down a larger
    // one, Home and End to its ends, as a drag there would. False when no slider has the
    // focus or the key is none of these (with Ctrl or Alt held, none is).
    bool slideFocusedElement(int key, Qt::KeyboardModifiers modifiers);

    // What assistive tools hear of a display besides its bare text: `spoken` turns the text
    // shown into the text spoken ("Elapsed 00:01:05" for a clock); an `announced` display has
    // every new text of its own told at once, as a notice, wherever the focus is.
    struct DisplayVoice {
        std::function<QString(const QString& shown)> spoken;
        bool announced = false;
    };
    void setDisplayVoice(const QString& id, DisplayVoice voice) { m_voices[id] = std::move(voice); }
    const DisplayVoice* displayVoice(const QString& id) const;
    // Whether what changes now is the user's doing: a press, a drag, a value set by a tool.
    bool changedByUser() const { return m_byUser; }

    SkinEngine& engine() { return m_engine; }
    const SkinEngine& engine() const { return m_engine; }
    SkinPointer& pointer() { return m_pointer; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void resizeTo(QSize size) override;
    void setShape(const std::optional<QRegion>& region) override;
    void showFace() override;
    QPalette palette() const override { return QWidget::palette(); }

    void press(QMouseEvent* event, bool doubleClick);
    void moveWindow(QMouseEvent* event);
    bool moving() const { return m_ownMove || m_systemMove; }
    // The window move is over: the press that began it is told now.
    void endMove();
    bool ShowHintHook(QHelpEvent* event);
    void followHint(const QMouseEvent* event);

    SkinEngine m_engine;
    SkinPointer m_pointer;
    bool m_showHint = false;
    // The text of the tooltip this face shows, empty for none.
    QString m_shownHint;
    // Set while the window follows the pointer without the window system's help.
    bool m_ownMove = false;
    QPoint m_moveGrab;
    // Set while the window system moves the window; it ends with the release that ends the
    // move, or with the first event that shows the button up when the system kept that.
    bool m_systemMove = false;
    // The press that began the current window move, told when the move is over.
    struct MovePress {
        Qt::MouseButton button;
        ShiftState shift;
        QPoint at;
    };
    std::optional<MovePress> m_movePress;
    std::optional<SkinElementRef> m_focus;
    std::map<QString, DisplayVoice> m_voices;
    bool m_byUser = false;
    bool m_restsWhileHidden = false;
};

} // namespace korvel
