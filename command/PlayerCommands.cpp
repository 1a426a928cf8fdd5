#include "command/PlayerCommands.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "command/DeskWindows.h"
#include "playback/Playback.h"
#include "playlist/DroppedFiles.h"
#include "playlist/ListCapacity.h"
#include "playlist/ListFile.h"
#include "playlist/ListLocation.h"
#include "playlist/PlayListColumns.h"
#include "playlist/PlayListModel.h"

#include <array>

namespace korvel {

// The verbs in the order of their enumeration: run() finds a verb's row by its number.
struct VerbTable {
    using P = PlayerCommands;
    using A = P::Argument;
    static constexpr std::array<P::VerbRow, 32> Rows{{
        {Verb::Play, "play", A::None, &P::play},
        {Verb::Pause, "pause", A::None, &P::pause},
        {Verb::Stop, "stop", A::None, &P::stop},
        {Verb::SeekBy, "seek-by", A::Number, &P::seekBy},
        {Verb::Scan, "scan", A::Number, &P::scan},
        {Verb::SeekTo, "seek-to", A::Number, &P::seekTo},
        {Verb::SeekShare, "seek-share", A::Percent, &P::seekShare},
        {Verb::Next, "next", A::None, &P::next},
        {Verb::Previous, "previous", A::None, &P::previous},
        {Verb::MarkStart, "mark-start", A::None, &P::markStart},
        {Verb::MarkEnd, "mark-end", A::None, &P::markEnd},
        {Verb::Volume, "volume", A::Percent, &P::volume},
        {Verb::Mute, "mute", A::Flag, &P::mute},
        {Verb::Size, "size", A::Percent, &P::size},
        {Verb::StepSize, "step-size", A::Step, &P::stepSize},
        {Verb::FullScreen, "full-screen", A::None, &P::fullScreen},
        {Verb::Top, "top", A::Flag, &P::top},
        {Verb::Fix, "fix", A::Flag, &P::fix},
        {Verb::Loop, "loop", A::Flag, &P::loop},
        {Verb::Shuffle, "shuffle", A::Flag, &P::shuffle},
        {Verb::Open, "open", A::Text, &P::openLocation},
        {Verb::PlayList, "play-list", A::None, &P::playList},
        {Verb::ShowList, "show-list", A::None, &P::showList},
        {Verb::HidePanel, "hide-panel", A::None, &P::hidePanel},
        {Verb::Minimize, "minimize", A::None, &P::minimize},
        {Verb::Raise, "raise", A::None, &P::raise},
        {Verb::Quit, "quit", A::None, &P::quit},
        {Verb::AudioTrack, "audio-track", A::Number, &P::audioTrack},
        {Verb::SubtitleTrack, "subtitle-track", A::Number, &P::subtitleTrack},
        {Verb::LoadSubtitles, "load-subtitles", A::Text, &P::loadSubtitles},
        {Verb::Add, "add", A::Flag, &P::add},
        {Verb::Skin, "skin", A::Text, &P::skin},
    }};

    static constexpr bool inOrder() {
        for (std::size_t i = 0; i < Rows.size(); ++i) {
            if (Rows[i].verb != Verb(i)) return false;
        }
        return true;
    }
};
static_assert(VerbTable::inOrder(), "each verb has its row, in the order of the enumeration");
static_assert(VerbTable::Rows.size() == std::size_t(Verb::Skin) + 1, "Skin is the last verb");

namespace {

bool fits(PlayerCommands::Argument kind, std::int64_t n) {
    using A = PlayerCommands::Argument;
    switch (kind) {
    case A::Percent: return n >= 0 && n <= 100;
    case A::Step: return n == -1 || n == 1;
    case A::Flag: return n == 0 || n == 1;
    case A::Number:
    case A::None:
    case A::Text: return true;
    }
    return false;
}

// A step of a seek is kept in 32 bits, as the position arithmetic takes it.
std::int32_t stepOf(const PlayerCommand& command) {
    if (command.number < INT32_MIN || command.number > INT32_MAX)
        throw KorvelError(FixedTexts::RangeCheck);
    return std::int32_t(command.number);
}

} // namespace

PlayerCommands::PlayerCommands(Playback& playback, DeskWindows& windows, PlayListModel* list)
    : m_playback(playback), m_windows(windows), m_list(list) {}

std::span<const PlayerCommands::VerbRow> PlayerCommands::verbs() { return VerbTable::Rows; }

PlayerCommands::Argument PlayerCommands::argumentOf(Verb verb) {
    return VerbTable::Rows[std::size_t(verb)].argument;
}

void PlayerCommands::run(const PlayerCommand& command) {
    const VerbRow& row = VerbTable::Rows[std::size_t(command.verb)];
    if (!fits(row.argument, command.number)) throw KorvelError(FixedTexts::RangeCheck);
    (this->*row.run)(command);
}

PlaybackState PlayerCommands::state() const { return m_playback.state(); }

PlayerCommands::Opening PlayerCommands::opening(const QString& location, const QString& folder) {
    QString named = location;
    if (!folder.isEmpty() && !named.isEmpty() && !named.startsWith(u'/') && !named.contains(u"://"))
        named = folder + u'/' + named;
    const QString path = ListLocation::localFile(named);
    if (ListFile::IsForeignList(DroppedFiles::kindOf(path))) return Opening{QString(), path};
    return Opening{location, QString()};
}

// A list's entries join after what the playlist holds; what it could not take is told after
// the new entries started playing.
void PlayerCommands::open(const Opening& opening) {
    if (opening.list.isEmpty()) {
        m_playback.OpenEntry(false, opening.clip);
        return;
    }
    if (!m_list) return;
    const ListFile::Appended appended = ListFile::Append(opening.list, *m_list);
    if (appended.firstRow > 0) m_playback.PlayFromRow(appended.firstRow);
    if (!appended.problem.isEmpty()) throw KorvelError(appended.problem);
}

void PlayerCommands::play(const PlayerCommand&) { m_playback.ResumePlay(); }
void PlayerCommands::pause(const PlayerCommand&) { m_playback.PauseCommand(); }
void PlayerCommands::stop(const PlayerCommand&) { m_playback.StopPlayback(); }
void PlayerCommands::seekBy(const PlayerCommand& c) { m_playback.SeekBy(false, stepOf(c)); }
void PlayerCommands::scan(const PlayerCommand& c) { m_playback.SeekBy(true, stepOf(c)); }
void PlayerCommands::seekTo(const PlayerCommand& c) { m_playback.MoveTo(c.number); }
void PlayerCommands::seekShare(const PlayerCommand& c) { m_playback.PositionSlider(int(c.number)); }
void PlayerCommands::next(const PlayerCommand&) { m_playback.PlayNextEntry(+1); }
void PlayerCommands::previous(const PlayerCommand&) { m_playback.PlayNextEntry(-1); }
void PlayerCommands::markStart(const PlayerCommand&) {
    m_playback.MarkPosition(PlayListColumns::StartColumn);
}
void PlayerCommands::markEnd(const PlayerCommand&) {
    m_playback.MarkPosition(PlayListColumns::EndColumn);
}
void PlayerCommands::volume(const PlayerCommand& c) { m_playback.VolumeSlider(int(c.number)); }
void PlayerCommands::mute(const PlayerCommand& c) { m_playback.ApplyMute(c.number != 0); }
void PlayerCommands::size(const PlayerCommand& c) { m_playback.SetSize(int(c.number)); }
void PlayerCommands::stepSize(const PlayerCommand& c) { m_playback.StepSize(int(c.number)); }
void PlayerCommands::fullScreen(const PlayerCommand&) { m_playback.EnterFullScreen(); }
void PlayerCommands::top(const PlayerCommand& c) { m_playback.SetTopmost(c.number != 0); }
void PlayerCommands::fix(const PlayerCommand& c) { m_playback.SetFix(c.number != 0); }
void PlayerCommands::loop(const PlayerCommand& c) { m_playback.SetLoop(c.number != 0); }
void PlayerCommands::shuffle(const PlayerCommand& c) { m_playback.SetShuffle(c.number != 0); }

// An empty location names no clip: the door is told so, and what plays goes on.
void PlayerCommands::openLocation(const PlayerCommand& c) {
    if (c.text.isEmpty()) throw KorvelError(FixedTexts::EmptyLocation);
    open(opening(c.text));
}

void PlayerCommands::playList(const PlayerCommand&) { m_playback.PlayFromTop(); }
void PlayerCommands::showList(const PlayerCommand&) { m_windows.showPlayList(); }
void PlayerCommands::hidePanel(const PlayerCommand&) { m_windows.hidePanel(); }
void PlayerCommands::minimize(const PlayerCommand&) { m_windows.minimizeAll(); }
void PlayerCommands::raise(const PlayerCommand&) { m_windows.raise(); }
void PlayerCommands::quit(const PlayerCommand&) { m_windows.closePlayer(); }
void PlayerCommands::skin(const PlayerCommand& c) { m_windows.applySkin(c.text); }

// A track number beyond 32 bits is no track of any clip.
void PlayerCommands::audioTrack(const PlayerCommand& c) {
    if (c.number < 1 || c.number > INT32_MAX) throw KorvelError(FixedTexts::RangeCheck);
    m_playback.SelectTrack(MediaTrack::Kind::Audio, int(c.number));
}

void PlayerCommands::subtitleTrack(const PlayerCommand& c) {
    if (c.number < 0 || c.number > INT32_MAX) throw KorvelError(FixedTexts::RangeCheck);
    m_playback.SelectTrack(MediaTrack::Kind::Subtitle, int(c.number));
}

void PlayerCommands::loadSubtitles(const PlayerCommand& c) {
    if (c.text.isEmpty()) throw KorvelError(FixedTexts::EmptyLocation);
    m_playback.AddSubtitles(c.text);
}

// A clip joins the list after what it holds, as a list's entries do; what did not fit is
// told after the new entry started playing.
void PlayerCommands::add(const PlayerCommand& c) {
    if (c.text.isEmpty()) throw KorvelError(FixedTexts::EmptyLocation);
    if (!m_list) return;
    const Opening where = opening(c.text);
    ListFile::Appended appended;
    if (!where.list.isEmpty()) {
        appended = ListFile::Append(where.list, *m_list);
    } else {
        const int before = m_list->entryCount();
        ListCapacity capacity(*m_list);
        if (capacity.add(where.clip)) appended.firstRow = before + 1;
        m_list->NumberRows();
        appended.problem = capacity.message();
    }
    if (c.number != 0 && appended.firstRow > 0) m_playback.PlayFromRow(appended.firstRow);
    if (!appended.problem.isEmpty()) throw KorvelError(appended.problem);
}

} // namespace korvel
