#pragma once

#include "engine/MediaTrack.h"

#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

namespace korvel {

// The media engine as the playback window uses it: load a location, start, pause, stop and
// seek it, read what it is, and hear back about state changes and positions.
//
// Thread: every operation is called on the GUI thread, and every event is raised there, from
// the event loop (never from inside the operation that caused it), one at a time. A handler
// may call operations, which may in turn make further events due; those arrive later, from
// the event loop again, possibly nested inside a handler that lets pending events run.
//
// Units: times and lengths are milliseconds from the start of the clip, as 64-bit values;
// volumes are 0..255 when read and 0..100 when set; picture sizes are pixels.
//
// Failures: an operation that cannot be carried out raises KorvelError with a text for the
// error box and changes nothing. A failure that shows up only after the operation returned
// (a missing file, a refused connection, a server that never answers) goes to
// OnAsyncFailure when that is set, and is otherwise raised as a KorvelError from the event
// loop once the pending events are handled, so the application's error box shows it like any
// other.
class MediaControl {
public:
    // State codes carried by OnStateChange and read by QueryState; the playback window treats
    // every change alike.
    enum State : int { Closed = 0, Opening = 1, Stopped = 2, Paused = 3, Playing = 4 };

    virtual ~MediaControl() = default;

    // The location now loaded (as given to LoadSource), empty before the first.
    virtual QString QuerySource() const = 0;
    // Loads a local path, a file URL or a stream URL of an allowed scheme (http, https, rtsp,
    // rtmp, mms, mmsh, udp, rtp, ftp), replacing what was loaded. Anything else, an empty
    // text, and a local file that does not exist or cannot be read, is refused at once. Does
    // not start playing by itself.
    virtual void LoadSource(const QString& location) = 0;
    // The engine's volume, 0..255 (255 until anything set it).
    virtual int QueryVolume() const = 0;
    // Sets the volume, 0..100; other values are refused.
    virtual void ApplyVolume(int volume) = 0;
    // Silences or restores the sound; stays in force for later clips.
    virtual void ApplyMute(bool mute) = 0;
    // Stops and unloads the clip, which stays the source: its location, length and title
    // can still be read, a seek sets where it will begin, and StartPlay plays it again.
    // With nothing loaded, does nothing.
    virtual void StopPlay() = 0;
    // Plays what is loaded, resumes a pause, plays a stopped clip again from the start (or
    // from where a seek made while stopped put it), and plays a clip that reached its end
    // from the beginning. With no location ever loaded, does nothing.
    virtual void StartPlay() = 0;
    // With nothing loaded, does nothing.
    virtual void PausePlay() = 0;
    // The state last carried by OnStateChange (Closed before any).
    virtual State QueryState() const = 0;
    // Length, title and picture size are those of the clip that opened last, kept while it
    // is stopped. Length: 0 while a clip opens, for a live stream, or before any clip.
    virtual std::int64_t QueryLength() const = 0;
    // The clip's own title tag; empty when it has none, and while a clip opens.
    virtual QString QueryTitle() const = 0;
    // Natural picture size after aspect correction; kept while the next clip opens, so the
    // window keeps its size; 0 for sound alone or before any picture was known.
    virtual int QueryImageWidth() const = 0;
    virtual int QueryImageHeight() const = 0;
    // Moves the play position (below 0: to the start; past the end: to the last picture);
    // OnPostSeek follows once the move is complete. While the clip still opens, the move is
    // made once it has opened. While it is stopped, the move completes at once (within the
    // clip's known length) and is where the next StartPlay begins. With no location ever
    // loaded, does nothing.
    virtual void SeekTo(std::int64_t ms) = 0;
    // Full screen: the playback window covers the screen with the picture. The window system
    // grants it, possibly a moment after EnterFullScreen returns; QueryFullScreen tells
    // whether the window really covers the screen now, not whether it was asked to. Esc in
    // any window of the application, or a double click on the picture, ends it; the window
    // then has its earlier place and size again.
    virtual bool QueryFullScreen() const = 0;
    virtual void EnterFullScreen() = 0;
    // All three are off until set.
    // Switch 1: keep the picture's aspect ratio (off stretches it to the window).
    // Switch 2: clicks and keys on the picture raise OnLButtonUp and OnKeyDown. (Esc or a
    //           double click ends full screen whatever this switch says.)
    // Switch 3: hardware decoding where the machine offers a safe one.
    virtual void OptionSwitch1(bool on) = 0;
    virtual void OptionSwitch2(bool on) = 0;
    virtual void OptionSwitch3(bool on) = 0;

    // The sound and subtitle tracks of the clip that opened last, the ones playing marked;
    // none before a clip has opened.
    virtual MediaTracks QueryTracks() const = 0;
    // Plays sound track `id` of the clip, or shows subtitle track `id`, at once; subtitle
    // track 0 shows none. A track the clip does not have is refused with KorvelError.
    virtual void SelectTrack(MediaTrack::Kind kind, int id) = 0;
    // Loads the subtitles at `location` (a local file, or a stream URL as LoadSource takes
    // it) as a track of the clip that is open and shows them. Refused with KorvelError when
    // no clip is open, or the file cannot be read as subtitles.
    virtual void AddSubtitles(const QString& location) = 0;

    // The widget that shows the picture, for the playback window to hold; none for engines
    // that show nothing.
    virtual QWidget* pictureWidget() { return nullptr; }

    // Events. Unset ones are skipped.
    // Repeats during play at about ten a second (not while a seek is under way), once when a
    // clip has opened, once after each completed seek (before OnPostSeek), and once at the
    // end of the clip and after a seek to or past the end, with position == length; nothing
    // more until play moves on again. The position never exceeds a known length.
    std::function<void(std::int64_t position, std::int64_t length)> OnPositionChange;
    // Once per completed seek (two seeks in quick succession may complete as one).
    std::function<void(std::int64_t oldTime, std::int64_t newTime)> OnPostSeek;
    // A left-button release on the picture (Qt keyboard modifiers as flags).
    std::function<void(int flags, int x, int y)> OnLButtonUp;
    // A key pressed on the picture (Qt key code).
    std::function<void(int flags, int key)> OnKeyDown;
    // After opening, starting, pausing and stopping: title, length and size can be read then.
    std::function<void(int oldState, int newState)> OnStateChange;
    // The file being opened told its picture's size before the first frame: it can be read
    // then, and the clip's start reads it again.
    std::function<void()> onPictureSize;
    // The title changed while the clip plays (a radio stream tells each new song's).
    std::function<void()> OnTitleChange;
    // The user ended full screen (Esc, or a double click on the picture).
    std::function<void()> OnFullScreenEnd;
    // A failure found after its operation returned (see Failures above).
    std::function<void(const QString& text)> OnAsyncFailure;
};

} // namespace korvel
