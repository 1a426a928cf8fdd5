#include "skin/SkinPointer.h"

#include "skin/SkinEngine.h"
#include "skin/SkinHint.h"

#include <QPoint>

#include <algorithm>

namespace korvel {

namespace {

// The pointer's coordinate along a trackbar, and the track's start on that axis.
int along(const TrackBarInfoRec& bar, int x, int y) { return bar.Horizontal ? x : y; }
int origin(const TrackBarInfoRec& bar) { return bar.Horizontal ? bar.Left : bar.Top; }

bool inside(int x, int y, int left, int top, int width, int height) {
    return x >= left && x < left + width && y >= top && y < top + height;
}

bool onThumb(const TrackBarInfoRec& bar, int x, int y) {
    return bar.Horizontal
               ? inside(x, y, bar.Left + bar.ThumbOffset, bar.Top, bar.ThumbWidth, bar.ThumbHeight)
               : inside(x, y, bar.Left, bar.Top + bar.ThumbOffset, bar.ThumbWidth, bar.ThumbHeight);
}

// Presses count on the track less the last thumb height of a vertical one.
bool onTrack(const TrackBarInfoRec& bar, int x, int y) {
    return bar.Horizontal
               ? inside(x, y, bar.Left, bar.Top, bar.Length, bar.ThumbHeight)
               : inside(x, y, bar.Left, bar.Top, bar.ThumbWidth, bar.Length - bar.ThumbHeight);
}

// Tooltips count on the whole bar.
bool onBar(const TrackBarInfoRec& bar, int x, int y) {
    return bar.Horizontal ? inside(x, y, bar.Left, bar.Top, bar.Length, bar.ThumbHeight)
                          : inside(x, y, bar.Left, bar.Top, bar.ThumbWidth, bar.Length);
}

} // namespace

bool SkinPointer::MouseDown(Qt::MouseButton button, ShiftState, int x, int y) {
    SkinModel& m = m_engine.model();
    resetPress();
    if (button != Qt::LeftButton) return false;
    pressHotArea(x, y);
    pressTrackBars(x, y);
    return !m.PressedOnArea && !m.Dragging;
}

void SkinPointer::finishPress(Qt::MouseButton button, ShiftState shift, int x, int y) {
    if (OnMouseDownNotify) OnMouseDownNotify(m_engine.model().CurrentID, button, shift, x, y);
}

void SkinPointer::pressHotArea(int x, int y) {
    const SkinModel& m = m_engine.model();
    for (int i = 0; i < int(m.HotAreas.size()); ++i) {
        if (!m.HotAreas[std::size_t(i)].contains(x, y)) continue;
        pressArea(i);
        return;
    }
}

void SkinPointer::pressArea(int i) {
    SkinModel& m = m_engine.model();
    m_engine.copyArea(m.MouseDownBitmap, i);
    m.PressedOnArea = true;
    m.HotAreas[std::size_t(i)].Pressed = true;
    m.CurrentID = m.HotAreas[std::size_t(i)].ID;
    HotAreaInfoRec& area = m.HotAreas[std::size_t(i)];
    if (!area.RadioGroup.isEmpty()) SelectGroupMember(i);
    if (area.IsToggle) {
        area.Down = !area.Down;
        m_engine.copyArea(area.Down ? m.MouseDownBitmap : m.MouseUpBitmap, i);
    }
}

void SkinPointer::pressTrackBars(int x, int y) {
    SkinModel& m = m_engine.model();
    for (int i = 0; i < int(m.TrackBars.size()); ++i) {
        TrackBarInfoRec& bar = m.TrackBars[std::size_t(i)];
        if (bar.isInert()) continue;
        const int a = along(bar, x, y) - origin(bar);
        if (onThumb(bar, x, y)) {
            m.CurrentID = bar.ID;
            m.Dragging = true;
            m.ActiveTrackBar = i;
            m.GrabOffset = a - bar.ThumbOffset;
            return;
        }
        if (onTrack(bar, x, y)) {
            m.CurrentID = bar.ID;
            setPosition(bar, std::clamp(a - bar.thumbExtent() / 2, 0, bar.travel()));
            return;
        }
    }
}

void SkinPointer::setPosition(TrackBarInfoRec& bar, int thumbOffset) {
    bar.ThumbOffset = thumbOffset;
    bar.Position = std::uint8_t(bar.ThumbOffset * 100 / bar.travel());
    UpdateThumbOffset(bar);
    if (OnTrackBarNotify) OnTrackBarNotify(bar.ID, bar.Position);
    m_engine.PaintFace();
}

void SkinPointer::SelectGroupMember(int index) {
    SkinModel& m = m_engine.model();
    const int g = m.findGroup(m.HotAreas[std::size_t(index)].RadioGroup);
    if (g < 0) return;
    const int previous = m.GroupDown[g].toInt();
    m.GroupDown[g] = QString::number(index);
    if (previous == -1) return;
    m_engine.SetButtonState(HotAreaID(previous), false);
    m_engine.copyArea(m.MouseUpBitmap, index);
}

QString SkinPointer::HotAreaID(int index) const {
    const SkinModel& m = m_engine.model();
    return index >= 0 && index < int(m.HotAreas.size()) ? m.HotAreas[std::size_t(index)].ID
                                                        : QString();
}

void SkinPointer::MouseMove(ShiftState shift, int x, int y) {
    SkinModel& m = m_engine.model();
    if (m.FaceStale) m_engine.PaintFace();
    m_tooltip.clear();
    m.WasOverArea = m.OverArea;
    m.CurrentID.clear();
    if (m.Dragging) {
        dragThumb(x, y);
    } else {
        for (const TrackBarInfoRec& bar : m.TrackBars) {
            if (onBar(bar, x, y)) m_tooltip = SkinHint::shown(bar.Hint);
        }
    }
    hoverHotAreas(x, y);
    if (m.WasOverArea != m.OverArea) m.FaceStale = true;
    if (OnMouseMoveNotify) OnMouseMoveNotify(m.CurrentID, shift, x, y);
}

void SkinPointer::dragThumb(int x, int y) {
    SkinModel& m = m_engine.model();
    if (m.ActiveTrackBar < 0 || m.ActiveTrackBar >= int(m.TrackBars.size())) return;
    TrackBarInfoRec& bar = m.TrackBars[std::size_t(m.ActiveTrackBar)];
    const int a = along(bar, x, y) - origin(bar);
    // Outside the track's span the thumb stays where the last move inside it put it.
    if (a < 0 || a > bar.Length) return;
    m.CurrentID = bar.ID;
    setPosition(bar, std::clamp(a - m.GrabOffset, 0, bar.travel()));
}

void SkinPointer::hoverHotAreas(int x, int y) {
    SkinModel& m = m_engine.model();
    for (int i = 0; i < int(m.HotAreas.size()); ++i) {
        HotAreaInfoRec& area = m.HotAreas[std::size_t(i)];
        if (!area.contains(x, y)) {
            area.Pressed = false;
            m.OverArea = false;
            continue;
        }
        m.OverArea = true;
        m.CurrentID = area.ID;
        m_tooltip = SkinHint::shown(area.Hint);
        if (m.UseMouseOnBitmap) m_engine.copyArea(m.MouseOnBitmap, i);
        return;
    }
}

void SkinPointer::MouseUp(Qt::MouseButton button, ShiftState shift, int x, int y) {
    const SkinModel& m = m_engine.model();
    int hit = -1;
    for (int i = 0; i < int(m.HotAreas.size()) && hit < 0; ++i) {
        if (m.HotAreas[std::size_t(i)].contains(x, y)) hit = i;
    }
    release(hit, button, shift, x, y);
}

void SkinPointer::release(int hotArea, Qt::MouseButton button, ShiftState shift, int x, int y) {
    SkinModel& m = m_engine.model();
    resetPress();
    if (hotArea >= 0) {
        HotAreaInfoRec& area = m.HotAreas[std::size_t(hotArea)];
        m.CurrentID = area.ID;
        area.Pressed = false;
    }
    m_engine.PaintFace();
    if (OnMouseUpNotify) OnMouseUpNotify(m.CurrentID, button, shift, x, y);
}

void SkinPointer::resetPress() {
    SkinModel& m = m_engine.model();
    m.CurrentID.clear();
    m.PressedOnArea = false;
    m.Dragging = false;
    m.ActiveTrackBar = -1;
}

// A click with nothing else pressed and the pointer resting on the area's centre: the same
// press and release a pointer gives, whatever lies on top of the area there.
void SkinPointer::click(int hotArea) {
    const SkinModel& m = m_engine.model();
    if (hotArea < 0 || hotArea >= int(m.HotAreas.size())) return;
    const QPoint at = m.HotAreas[std::size_t(hotArea)].rect().center();
    resetPress();
    pressArea(hotArea);
    finishPress(Qt::LeftButton, ShiftState{}, at.x(), at.y());
    release(hotArea, Qt::LeftButton, ShiftState{}, at.x(), at.y());
}

void SkinPointer::moveTrackBar(int trackBar, int position) {
    SkinModel& m = m_engine.model();
    if (trackBar < 0 || trackBar >= int(m.TrackBars.size())) return;
    TrackBarInfoRec& bar = m.TrackBars[std::size_t(trackBar)];
    if (bar.isInert()) return;
    bar.Position = std::uint8_t(std::clamp(position, 0, 100));
    UpdateThumbOffset(bar);
    if (OnTrackBarNotify) OnTrackBarNotify(bar.ID, bar.Position);
    m_engine.PaintFace();
}

} // namespace korvel
