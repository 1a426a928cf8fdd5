#pragma once

#include <QString>
#include <QStringView>

namespace korvel {

// What the desktop's media controls ask of the program's windows, beyond the playback state
// and its operations. The program's wiring provides it; the media controls know no window.
class MprisHost {
public:
    virtual ~MprisHost() = default;
    // Runs the command of the panel's button `id`, as a click on it does.
    virtual void pressPanelButton(QStringView id) = 0;
    // Moves the panel's volume slider to `position` (0..100) and runs its command.
    virtual void setVolumeSlider(int position) = 0;
    // Sets the list's toggle `id` (LOOP or SHUFFLE) down or up, as a click on it would.
    virtual void setListButton(QStringView id, bool down) = 0;
    // Plays `location` as a single clip, as a second start's clip is played. An empty one
    // is refused with a KorvelError, and nothing changes.
    virtual void openLocation(const QString& location) = 0;
    // Brings the playback window and the panel to the front, also from a minimize.
    virtual void raise() = 0;
    // Closes the playback window, which ends the program, once the current call is answered.
    virtual void quit() = 0;
};

} // namespace korvel
