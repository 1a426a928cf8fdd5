#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace korvel {

// The element operations a window calls on a skin by element name: two-state buttons,
// display texts and slider positions (0..100). Names match exactly; an element the skin
// lacks is ignored, and reads of it give false or 0. Runs on the user-interface thread;
// setting a state or text redraws the face before it returns.
class SkinElements {
public:
    virtual ~SkinElements() = default;
    virtual void SetButtonState(QStringView id, bool state) = 0;
    virtual bool GetButtonState(QStringView id) const = 0;
    virtual void SetDisplayText(QStringView id, const QString& text) = 0;
    virtual std::int32_t GetTrackBarPosition(QStringView id) const = 0;
    virtual void SetTrackBarPosition(QStringView id, std::int32_t position) = 0;
    // The user holds this slider's thumb: what the program would show there waits.
    virtual bool IsTrackBarDragged(QStringView) const { return false; }
};

} // namespace korvel
