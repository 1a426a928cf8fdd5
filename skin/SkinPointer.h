#pragma once

#include <QString>
#include <Qt>

#include <functional>

namespace korvel {

class SkinEngine;
struct TrackBarInfoRec;

// Modifier keys and buttons held during a pointer event, and whether it is the second press
// of a double click.
struct ShiftState {
    Qt::KeyboardModifiers modifiers;
    Qt::MouseButtons buttons;
    bool doubleClick = false;

    bool operator==(const ShiftState&) const = default;
};

// What a press, release or move tells the owning window: the element's name (empty for
// none), the button, the held keys and buttons, and the point in face pixels.
using TMouseUpNotify =
    std::function<void(const QString& id, Qt::MouseButton button, ShiftState shift, int x, int y)>;
using TMouseMoveNotify = std::function<void(const QString& id, ShiftState shift, int x, int y)>;
// A trackbar's position changed by the pointer: its name and its new position 0..100.
using TTrackBarNotify = std::function<void(const QString& id, int position)>;

// The pointer handling of a skin: hit tests, pressed and toggle states, radio groups, thumb
// drags, the hover look and the tooltip text. It changes the engine's model and face; the
// widget feeds it events and acts on its one request, the window move.
class SkinPointer {
public:
    explicit SkinPointer(SkinEngine& engine) : m_engine(engine) {}

    // Notifications; unset ones are skipped. Owners may call element operations from inside.
    TMouseUpNotify OnMouseDownNotify;
    TMouseUpNotify OnMouseUpNotify;
    TMouseMoveNotify OnMouseMoveNotify;
    TTrackBarNotify OnTrackBarNotify;

    // The press up to the window move. True when the press landed outside every hot area
    // and thumb with the left button: the window is then to follow the pointer, and
    // finishPress comes after the move.
    bool MouseDown(Qt::MouseButton button, ShiftState shift, int x, int y);
    // The press's notification.
    void finishPress(Qt::MouseButton button, ShiftState shift, int x, int y);
    void MouseMove(ShiftState shift, int x, int y);
    void MouseUp(Qt::MouseButton button, ShiftState shift, int x, int y);

    // A left click on the hot area at `index` from outside the pointer (the keyboard, an
    // assistive tool): the press and the release with their looks and notifications.
    void click(int hotArea);
    // The slider at `index` set to `position` (0..100, kept within the slider's own limits)
    // from outside the pointer, told as a drag tells it.
    void moveTrackBar(int trackBar, int position);

    // The radio-group step of a press on the hot area at `index`.
    void SelectGroupMember(int index);
    // The name of the hot area at `index`, empty when there is none.
    QString HotAreaID(int index) const;

    // The hint of the element under the pointer at the last move, as shown (SkinHint);
    // empty for no tooltip.
    const QString& tooltipText() const { return m_tooltip; }

private:
    void pressHotArea(int x, int y);
    void pressArea(int index);
    void release(int hotArea, Qt::MouseButton button, ShiftState shift, int x, int y);
    void resetPress();
    void pressTrackBars(int x, int y);
    void dragThumb(int x, int y);
    void hoverHotAreas(int x, int y);
    void setPosition(TrackBarInfoRec& bar, int thumbOffset);

    SkinEngine& m_engine;
    QString m_tooltip;
};

} // namespace korvel
