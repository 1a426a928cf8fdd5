#include "playback/Playback.h"

#include "base/FirstPictureSize.h"
#include "base/FixedTexts.h"
#include "base/IntegerText.h"
#include "base/KorvelError.h"
#include "base/TimeText.h"
#include "engine/MediaControl.h"
#include "playback/ClipTitle.h"
#include "playback/PlayListCells.h"
#include "playback/PlaybackHost.h"
#include "playlist/PlayListColumns.h"

#include <algorithm>

namespace korvel {

namespace {

using Col = PlayListColumns;
constexpr int PostSeekPauseMs = 500;
constexpr int SizeStep = 20;

std::uint8_t checkedVolume(int volume) {
    if (volume < 0 || volume > 255) throw KorvelError(FixedTexts::RangeCheck);
    return std::uint8_t(volume);
}

} // namespace

Playback::Playback(MediaControl& control, PlaybackHost& host, PlayOrder::Draw draw)
    : m_control(control), m_host(host), m_order(std::move(draw)) {}

std::int64_t Playback::TimeTextToMs(const QString& text) { return TimeText::toMs(text); }

void Playback::attachPlayList(PlayListCells* list) {
    if (m_list) m_list->whenChanged(nullptr);
    m_list = list;
    if (!m_list) return;
    m_list->whenChanged([this] {
        if (std::exchange(m_listPublishDue, true)) return;
        m_host.runLater(0, [this] {
            m_listPublishDue = false;
            publish();
        });
    });
}

int Playback::currentRow() const { return m_list ? m_list->currentRow() : 0; }

QString Playback::currentCell(int column) const {
    return m_list ? m_list->cell(column, m_list->currentRow()) : QString();
}

bool Playback::isEntry(int row) const { return m_list && row > 0 && row < m_list->rowCount() - 1; }

void Playback::FormShow(const QString& argument) {
    m_control.OptionSwitch1(true);
    m_control.OptionSwitch2(true);
    m_control.OptionSwitch3(true);
    ClipWidth = FirstPictureSize.width();
    ClipHeight = FirstPictureSize.height();
    m_host.setClientSize(ClipWidth, ClipHeight);
    EndPoint = 200;
    CurrentPos = 0;
    HistoryNext = 1;
    if (!argument.isEmpty()) {
        m_control.LoadSource(argument);
        m_control.StartPlay();
    }
    publish();
}

void Playback::OpenEntry(bool FromList, QString Location) {
    // A seek asked for before is superseded; the Start mark's seek below is the clip's start.
    m_seekFrom.reset();
    PlaylistMode = FromList;
    if (FromList) {
        if (currentCell(Col::PlayColumn) == Col::PlayOn) {
            Location = currentCell(Col::LocationColumn);
        }
        if (RemainingPlays == 0) {
            // A count the spin box could not have given is taken at its nearest valid value.
            RemainingPlays =
                std::int8_t(std::clamp(IntegerText::toInt(currentCell(Col::CountColumn)), 1, 99));
        }
    }
    if (!Location.isEmpty()) {
        m_control.LoadSource(Location);
        // Until the new clip reports its own, the position is its start, not the last one's.
        CurrentPos = 0;
        m_control.StartPlay();
    }
    if (PlaylistMode && !currentCell(Col::StartColumn).isEmpty()) {
        m_control.SeekTo(TimeTextToMs(currentCell(Col::StartColumn)));
    }
    if (SavedVolume == 0) readSavedVolume();
    publish();
}

PlaybackState Playback::state() const {
    PlaybackState now;
    now.source = m_control.QuerySource();
    now.title = ClipTitle::of(m_control);
    now.engineState = m_control.QueryState();
    now.listMode = PlaylistMode;
    now.listRow = currentRow();
    now.positionMs = CurrentPos;
    now.lengthMs = m_control.QueryLength();
    now.volume = m_volume;
    now.size = m_size;
    now.mute = m_mute;
    now.fix = m_fix;
    now.top = m_top;
    now.loop = m_loop;
    now.shuffle = m_shuffle;
    now.canGoNext = canMoveOn(+1);
    now.canGoPrevious = canMoveOn(-1);
    now.panel = m_readout;
    return now;
}

// A listener may run commands that publish again: each notice carries the pair it is about.
void Playback::publish() {
    const PlaybackState now = state();
    if (now == m_published) return;
    const PlaybackState before = std::exchange(m_published, now);
    emit m_notices.changed(before, now);
}

void Playback::RealAudio1AsyncFailure(const QString& text) {
    if (m_failureTaker && m_failureTaker(text)) return;
    throw KorvelError(text);
}

void Playback::readSavedVolume() { SavedVolume = checkedVolume(m_control.QueryVolume()); }

void Playback::readEndMark() {
    const QString end = currentCell(Col::EndColumn);
    HasEndMark = !end.isEmpty();
    if (HasEndMark) EndPoint = TimeTextToMs(end);
}

void Playback::RealAudio1StateChange(int, int newState) {
    if (SavedVolume == 0) readSavedVolume();
    m_control.ApplyVolume(m_volume);
    readEndMark();
    // While a clip opens its picture size is not known yet; the window keeps its size
    // instead of collapsing until the picture arrives.
    const int width = m_control.QueryImageWidth();
    const int height = m_control.QueryImageHeight();
    if (newState != MediaControl::Opening || width > 0 || height > 0) {
        ClipWidth = width;
        ClipHeight = height;
    }
    ApplySize();
    if (ResumeFullScreen) m_control.EnterFullScreen();
    m_host.setCaption(ClipTitle::of(m_control));
    m_readout.titled = true;
    m_readout.numbered = PlaylistMode && m_list;
    m_readout.entry = m_readout.numbered ? currentRow() : 0;
    m_readout.entries = m_readout.numbered ? m_list->rowCount() - 2 : 0;
    m_readout.title = m_host.caption();
    m_readout.positionSlider = 0;
    m_control.ApplyMute(m_mute);
    addToHistory(m_control.QuerySource());
    publish();
}

// The window takes the clip's size before the first frame is drawn into it: drawn at one size
// and then at another, a frame costs the picture path its setup twice, and the next comes late.
void Playback::pictureSizeKnown() {
    const int width = m_control.QueryImageWidth();
    const int height = m_control.QueryImageHeight();
    if (width <= 0 || height <= 0) return;
    ClipWidth = width;
    ClipHeight = height;
    ApplySize();
}

// A stream tells each new title as it plays; what shows the title follows it.
void Playback::RealAudio1TitleChange() {
    m_host.setCaption(ClipTitle::of(m_control));
    m_readout.title = m_host.caption();
    publish();
}

// The history keeps the last ten sources, oldest first; every state change adds one.
void Playback::addToHistory(const QString& source) {
    if (HistoryNext >= 1 && HistoryNext <= HistorySlots) {
        PlayHistory[HistoryNext - 1] = source;
        ++HistoryNext;
        return;
    }
    if (HistoryNext == HistorySlots + 1) {
        std::move(PlayHistory.begin() + 1, PlayHistory.end(), PlayHistory.begin());
        PlayHistory.back() = source;
    }
}

QStringList Playback::history() const {
    return QStringList(PlayHistory.begin(), PlayHistory.end());
}

void Playback::RealAudio1PositionChange(std::int64_t lPos, std::int64_t lLen) {
    m_host.letEventsRun();
    CurrentPos = lPos;
    if (!HasEndMark) EndPoint = lLen;
    if (EndPoint > 0) {
        // The end counts once each time the position comes into the last 100 ms: the
        // reports that follow it there (the engine's own end report, a play at the end) are
        // the same end, and a count must not run down twice for one pass.
        const bool atEnd = EndPoint - CurrentPos < EndWindowMs;
        if (atEnd && !m_endReached) {
            m_endReached = true;
            ResumeFullScreen = m_control.QueryFullScreen();
            ClipFinished();
        } else if (!atEnd) {
            m_endReached = false;
        }
        // Past an End mark the share exceeds 100 and wraps, as the slider takes it.
        const std::int64_t share = std::max<std::int64_t>(0, lPos) * 100 / EndPoint;
        m_readout.positionSlider = int(share % 101);
        m_readout.endMs = EndPoint;
    }
    m_readout.reported = true;
    m_readout.positionMs = CurrentPos;
    publish();
}

void Playback::SeekBy(bool Repeat, std::int32_t StepMs) {
    SeekRepeat = Repeat;
    SeekStep = StepMs;
    const std::int64_t shown = CurrentPos;
    const std::int64_t target = CurrentPos + StepMs;
    if (target > 0 && target < EndPoint) {
        CurrentPos = target;
        m_host.letEventsRun();
        seekEngine(CurrentPos, shown);
        m_host.letEventsRun();
    } else {
        // Refused: the clip stays where it is, and so does the position told and played from.
        SeekRepeat = false;
    }
    publish();
}

// Two seeks in quick succession may complete as one: the jump is told from where the first
// started.
void Playback::seekEngine(std::int64_t ms, std::int64_t shownMs) {
    if (!m_seekFrom) m_seekFrom = SeekOrigin{m_control.QuerySource(), shownMs};
    m_control.SeekTo(ms);
}

void Playback::RealAudio1PostSeek(std::int64_t, std::int64_t lNewTime) {
    if (m_seekFrom) {
        const SeekOrigin from = *std::exchange(m_seekFrom, std::nullopt);
        if (from.source == m_control.QuerySource())
            emit m_notices.seeked(from.positionMs, lNewTime);
    }
    if (!SeekRepeat) return;
    // The repetition and its step are read when the pause is over: play, pause or stop in
    // the meantime still get this one last step, without further repetition.
    m_host.runLater(PostSeekPauseMs, [this] { SeekBy(SeekRepeat, SeekStep); });
}

void Playback::StopPlayback() {
    SeekRepeat = false;
    PlaylistMode = false;
    RemainingPlays = 0;
    // A stop ends a seek under way: it completes no more.
    m_seekFrom.reset();
    m_control.StopPlay();
    publish();
}

void Playback::MarkPosition(int Column) {
    if (!PlaylistMode || !isEntry(currentRow())) return;
    m_list->setCell(Column, currentRow(), TimeText::fromMs(CurrentPos));
}

void Playback::RealAudio1KeyDown(int, int) { m_host.bringPanelForward(); }

void Playback::RealAudio1LButtonUp(int, int, int) { m_host.bringPanelForward(); }

void Playback::FormClose() {
    if (SavedVolume == 0) return;
    // The engine reports its volume on a 0..255 scale and takes one on 0..100.
    m_control.ApplyVolume((SavedVolume * 100 + 127) / 255);
    for (int round = 0; round < 10; ++round) m_host.letEventsRun();
}

void Playback::ApplySize() {
    if (m_fix) return;
    if (m_control.QueryFullScreen()) return;
    const std::int32_t factor = 25 * m_size + 500;
    const std::int32_t width = factor * ClipWidth / 1000;
    const std::int32_t height = factor * ClipHeight / 1000;
    m_host.setClientSize(width, height);
}

} // namespace korvel

namespace korvel {

void Playback::PlayNextEntry(std::int16_t Direction) {
    SeekRepeat = false;
    if (!PlaylistMode || !m_list) return;
    RemainingPlays = 0;
    const int row = m_shuffle ? m_order.shuffle(*m_list)
                              : PlayOrder::walk(*m_list, currentRow(), Direction, m_loop);
    // Nothing to start: the cursor, the mode and the playing clip stay as they are.
    if (row > 0) startRow(row);
    publish();
}

// The same decision as PlayNextEntry's without its draw: the shuffle finds an entry whenever
// one is On, and a walk from the header over the whole list finds the first of them.
bool Playback::canMoveOn(int direction) const {
    if (!PlaylistMode || !m_list) return false;
    if (m_shuffle) return PlayOrder::walk(*m_list, 0, +1, false) > 0;
    return PlayOrder::walk(*m_list, currentRow(), direction, m_loop) > 0;
}

void Playback::startRow(int row) {
    m_list->selectRow(row);
    OpenEntry(true, QString());
}

void Playback::ClipFinished() {
    // A single clip plays out; going on through the list belongs to list mode.
    if (!PlaylistMode) return;
    // Plays used up stay used up: after a walk that found nothing, the last entry does not
    // start over and over.
    if (RemainingPlays > 0) RemainingPlays = std::int8_t(RemainingPlays - 1);
    if (RemainingPlays <= 0) {
        PlayNextEntry(+1);
    } else {
        OpenEntry(true, QString());
    }
    if (ResumeFullScreen) m_control.EnterFullScreen();
    publish();
}

void Playback::PlayFromTop() {
    if (!m_list) return;
    m_list->selectRow(m_list->rowCount() - 1);
    PlaylistMode = true;
    PlayNextEntry(+1);
    publish();
}

void Playback::PlayFromRow(int row) {
    if (!m_list) return;
    SeekRepeat = false;
    PlaylistMode = true;
    RemainingPlays = 0;
    startRow(row);
}

void Playback::ResumePlay() {
    SeekRepeat = false;
    // The engine holds a clip that has played out at its length: going back there would end
    // it again at once.
    const std::int64_t length = m_control.QueryLength();
    const bool atEnd = length > 0 && length - CurrentPos < EndWindowMs;
    const std::int64_t position = atEnd ? 0 : CurrentPos;
    m_host.letEventsRun();
    m_control.StartPlay();
    m_host.letEventsRun();
    seekEngine(position, CurrentPos);
    publish();
}

void Playback::PauseCommand() {
    SeekRepeat = false;
    m_control.PausePlay();
    publish();
}

void Playback::ApplyMute(bool mute) {
    m_control.ApplyMute(mute);
    m_mute = mute;
    publish();
}

void Playback::VolumeSlider(int position) {
    if (SavedVolume == 0) readSavedVolume();
    m_volume = position;
    m_control.ApplyVolume(position);
    publish();
}

// In 64 bits: a share of a clip longer than six hours still lands where it should.
void Playback::PositionSlider(int position) {
    m_host.letEventsRun();
    MoveTo(std::int64_t(position) * m_control.QueryLength() / 100);
}

void Playback::MoveTo(std::int64_t ms) {
    seekEngine(ms, CurrentPos);
    CurrentPos = ms;
    publish();
}

// As it was: the position is the one shown then, and a clip that played plays on.
void Playback::ReturnTo(const PlaybackState& before) {
    if (before.source.isEmpty()) return;
    OpenEntry(false, before.source);
    PlaylistMode = before.listMode;
    CurrentPos = before.positionMs;
    m_control.SeekTo(before.positionMs);
    if (before.engineState == MediaControl::Paused) m_control.PausePlay();
    if (before.engineState == MediaControl::Stopped || before.engineState == MediaControl::Closed)
        m_control.StopPlay();
    publish();
}

void Playback::EnterFullScreen() { m_control.EnterFullScreen(); }

void Playback::SetSize(int size) {
    if (size < 0 || size > 100) throw KorvelError(FixedTexts::RangeCheck);
    m_size = size;
    ApplySize();
    publish();
}

void Playback::SetFix(bool fix) {
    m_fix = fix;
    publish();
}

void Playback::SetTopmost(bool top) {
    m_host.setTopmost(top);
    m_top = top;
    publish();
}

void Playback::SetLoop(bool loop) {
    m_loop = loop;
    publish();
}

void Playback::SetShuffle(bool shuffle) {
    m_shuffle = shuffle;
    publish();
}

void Playback::StepSize(int direction) {
    SetSize(std::clamp(m_size + direction * SizeStep, 0, 100));
}

MediaTracks Playback::tracks() const { return m_control.QueryTracks(); }

void Playback::SelectTrack(MediaTrack::Kind kind, int id) { m_control.SelectTrack(kind, id); }

void Playback::AddSubtitles(const QString& location) { m_control.AddSubtitles(location); }

} // namespace korvel
