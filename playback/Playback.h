#pragma once

#include "engine/MediaTrack.h"
#include "playback/PlayOrder.h"
#include "playback/PlaybackNotices.h"
#include "playback/PlaybackState.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace korvel {

class MediaControl;
class PlaybackHost;
class PlayListCells;

// The playback window's state and handlers without the window: which clip is loaded and
// whether it came from the list, its end point and position, the repeating seek, the volume
// the engine had before us, the plays left of the current entry, the play order and the play
// history. It owns the volume and mute, the picture size, FIX and TOP the panel shows and the
// list's LOOP and SHUFFLE; every new clip gets the volume and mute it holds. It reads and moves
// the list's current row, the play cursor.
//
// What it shows is published: state() reads it, and the notices tell every listener of each
// change, from the handler or command that made it; the panel's displays are such a listener.
//
// Re-entrancy: several operations let pending events run in their middle (the position
// handler, seeks, play, close); commands and engine events may then run nested and change
// the fields below, which are read afresh after each such point.
class Playback {
public:
    static constexpr int HistorySlots = 10;
    // A position this close to the clip's end is the end.
    static constexpr std::int64_t EndWindowMs = 100;

    Playback(MediaControl& control, PlaybackHost& host,
             PlayOrder::Draw draw = PlayOrder::clockDraw);

    // The playlist exists only after this window; until it is attached its cells read as
    // empty and nothing is written to them. The list's changes (cells, rows, the play cursor)
    // are published once the events that made them are handled, once for a whole run of edits.
    void attachPlayList(PlayListCells* list);

    // The state as it is now, read afresh.
    PlaybackState state() const;
    const PlaybackNotices& notices() const { return m_notices; }
    // Tells the listeners when the state differs from the one told last. Every handler and
    // command here does so itself, and the list's changes are told (attachPlayList).
    void publish();
    // A failure the engine found after its operation returned: given to `taker` first
    // (a desktop caller waiting for that clip), raised for the error box when it is not taken.
    void RealAudio1AsyncFailure(const QString& text);
    void takeFailuresWith(std::function<bool(const QString&)> taker) {
        m_failureTaker = std::move(taker);
    }

    void FormShow(const QString& argument);
    void OpenEntry(bool FromList, QString Location);
    void RealAudio1StateChange(int oldState, int newState);
    void RealAudio1PositionChange(std::int64_t lPos, std::int64_t lLen);
    void RealAudio1TitleChange();
    // The clip being opened told its picture's size ahead of its first frame.
    void pictureSizeKnown();
    void SeekBy(bool Repeat, std::int32_t StepMs);
    void RealAudio1PostSeek(std::int64_t lOldTime, std::int64_t lNewTime);
    void StopPlayback();
    void MarkPosition(int Column);
    void RealAudio1KeyDown(int flags, int key);
    void RealAudio1LButtonUp(int flags, int x, int y);
    // The user left full screen: what follows a clip that ended in full screen no longer
    // takes it up again.
    void RealAudio1FullScreenEnd() { ResumeFullScreen = false; }
    // The close handler: gives the engine back its earlier volume.
    void FormClose();
    // Sizes the picture from the clip's size and the picture size, unless fixed or full screen.
    void ApplySize();
    static std::int64_t TimeTextToMs(const QString& text);

    // The play order. Next and previous act only in list mode; the end point of a list
    // entry plays it again while its count lasts, then moves on; the list's OK starts it all
    // from the top.
    void PlayNextEntry(std::int16_t Direction);
    // Whether PlayNextEntry(direction) would start an entry now.
    bool canMoveOn(int direction) const;
    void ClipFinished();
    void PlayFromTop();
    // Plays the list from entry `row` on, in list mode, as OK would from the top.
    void PlayFromRow(int row);

    // The panel's playback commands.
    // Play continues at the last known position, after a pause or a stop alike; a clip that
    // has played to its end (its last 100 ms) plays again from the start.
    void ResumePlay();
    void PauseCommand();
    void ApplyMute(bool mute);
    // The volume, 0..100: the engine's own volume is remembered first, for the close.
    void VolumeSlider(int position);
    // The position slider moved: seeks to that share of the clip's length.
    void PositionSlider(int position);
    // Moves the play position to `ms`, as the position slider does once pending events ran;
    // the position is taken as the target until the engine reports it.
    void MoveTo(std::int64_t ms);
    // Opens `before`'s clip again, in its mode, at its position, and playing, paused or
    // stopped as it was then; nothing when it had no clip.
    void ReturnTo(const PlaybackState& before);
    void EnterFullScreen();
    // The picture size, 0..100 (NaturalSize the clip's own); the window follows.
    void SetSize(int size);
    // The size one step of 20 smaller (-1) or larger (+1), within 0..100.
    void StepSize(int direction);
    // The window keeps its size (FIX): the picture no longer sizes it.
    void SetFix(bool fix);
    // The playback window above all others (TOP), or back in the normal order.
    void SetTopmost(bool top);
    // The list's LOOP and SHUFFLE, read by the play order at each of its steps.
    void SetLoop(bool loop);
    void SetShuffle(bool shuffle);
    // The open clip's sound and subtitle tracks as the engine has them, and the choice of
    // one, which applies at once (MediaControl).
    MediaTracks tracks() const;
    void SelectTrack(MediaTrack::Kind kind, int id);
    void AddSubtitles(const QString& location);
    // The sources of the last state changes, oldest first: the slots filled so far, empty
    // ones included while fewer than ten were.
    QStringList history() const;
    // The next slot a state change fills, 1..10, 11 once all are filled.
    int historyNext() const { return HistoryNext; }

    // What is kept between events beside the published state; only the handlers and
    // commands above change it. The list mode and the position are the state's.
    bool seekRepeat() const { return SeekRepeat; }
    bool resumeFullScreen() const { return ResumeFullScreen; }
    bool hasEndMark() const { return HasEndMark; }
    std::int64_t endPoint() const { return EndPoint; }
    std::uint8_t savedVolume() const { return SavedVolume; }
    std::int8_t remainingPlays() const { return RemainingPlays; }

private:
    void readSavedVolume();
    void readEndMark();
    void seekEngine(std::int64_t ms, std::int64_t shownMs);
    void addToHistory(const QString& source);
    void startRow(int row);
    bool isEntry(int row) const;
    int currentRow() const;
    QString currentCell(int column) const;

    bool SeekRepeat = false;
    bool PlaylistMode = false;
    bool ResumeFullScreen = false;
    bool HasEndMark = false;
    std::int32_t ClipWidth = 0;
    std::int32_t ClipHeight = 0;
    std::int64_t EndPoint = 0;
    std::int64_t CurrentPos = 0;
    std::uint8_t SavedVolume = 0;
    std::int8_t RemainingPlays = 0;
    std::int32_t SeekStep = 0;
    // Slots 1..10 are PlayHistory[0..9].
    std::array<QString, HistorySlots> PlayHistory;
    std::uint8_t HistoryNext = 0;

    MediaControl& m_control;
    PlaybackHost& m_host;
    PlayOrder m_order;
    PlayListCells* m_list = nullptr;
    // The position is within the end point's last 100 ms and that end was taken.
    bool m_endReached = false;
    bool m_listPublishDue = false;
    bool m_mute = false;
    int m_volume = PlaybackState::FirstVolume;
    int m_size = PlaybackState::NaturalSize;
    bool m_fix = false;
    bool m_top = false;
    bool m_loop = false;
    bool m_shuffle = false;
    PlaybackState::PanelReadout m_readout;
    PlaybackNotices m_notices;
    PlaybackState m_published;
    // Where a seek asked for here started: the clip and the position shown then.
    struct SeekOrigin {
        QString source;
        std::int64_t positionMs = 0;
    };
    std::optional<SeekOrigin> m_seekFrom;
    std::function<bool(const QString&)> m_failureTaker;
};

} // namespace korvel
