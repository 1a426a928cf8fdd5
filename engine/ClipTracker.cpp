#include "engine/ClipTracker.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include <algorithm>
#include <utility>

namespace korvel {

using State = MediaControl::State;

ClipTracker::ClipTracker(Engine& engine, std::function<std::int64_t()> clock,
                         int positionIntervalMs, int openTimeoutMs)
    : m_engine(engine), m_clock(std::move(clock)), m_positionIntervalMs(positionIntervalMs),
      m_openTimeoutMs(openTimeoutMs) {}

ClipTracker::Report ClipTracker::takeReport() {
    Report next = std::move(m_reports.front());
    m_reports.pop_front();
    return next;
}

// ----- Phases -----

bool ClipTracker::inEngine() const { return m_phase >= Phase::Requested; }

bool ClipTracker::opening() const {
    return m_phase >= Phase::AwaitingPicture && m_phase <= Phase::Loaded;
}

bool ClipTracker::started() const { return m_phase >= Phase::Running; }

bool ClipTracker::fileOpen() const { return m_phase >= Phase::Loaded; }

// ----- Host requests -----

void ClipTracker::load(const QString& location) {
    send(m_engine.prepare(location), true, 0);
    m_seekWhenStarted.reset();
    m_source = location;
}

void ClipTracker::start(bool eofReached) {
    if (m_phase == Phase::NoClip) return;
    if (m_phase == Phase::Stopped) {
        // The clip was unloaded, so it is opened again (and checked again), where a seek
        // made meanwhile put it.
        send(m_engine.prepare(m_source), false, m_startAt);
        return;
    }
    // At the end the engine stays put when unpaused: play from the beginning instead.
    if (m_phase == Phase::AtEnd || (started() && eofReached)) startSeek(0, false);
    m_engine.setPaused(false);
}

void ClipTracker::pause() {
    if (m_phase > Phase::Stopped) m_engine.setPaused(true);
}

void ClipTracker::stop() {
    if (m_phase <= Phase::Stopped) return;
    if (inEngine()) m_engine.stop();
    m_engine.armOpenTimer(false);
    const bool waited = m_phase == Phase::AwaitingPicture;
    m_phase = Phase::Stopped;
    m_seekWhenStarted.reset();
    m_seek.reset();
    m_startAt = 0;
    // The engine never had it, so it will not say it stopped.
    if (waited) setState(State::Stopped);
}

void ClipTracker::seek(std::int64_t ms) {
    // A negative absolute seek would count from the end.
    ms = std::max<std::int64_t>(ms, 0);
    if (m_phase == Phase::NoClip) return;
    if (m_phase == Phase::Stopped) {
        rememberStart(ms);
    } else if (opening()) {
        m_seekWhenStarted = ms;
    } else {
        startSeek(ms, true);
    }
}

void ClipTracker::pictureReady() {
    m_pictureReady = true;
    if (m_phase != Phase::AwaitingPicture) return;
    try {
        m_entry = m_engine.open(m_target, m_startAt);
        m_phase = Phase::Requested;
    } catch (const KorvelError& error) {
        m_engine.armOpenTimer(false);
        m_phase = Phase::Stopped;
        setState(State::Stopped);
        report(Report::Kind::Failure, 0, 0, error.text());
    }
}

// ----- Engine events -----

void ClipTracker::startFile(std::int64_t entry) {
    m_opened = entry;
    if (entry == m_entry) {
        if (m_phase == Phase::Requested) {
            m_phase = Phase::Opening;
            setState(State::Opening);
        }
    } else if (entry > m_entry) {
        // Nobody asked for this entry (the engine moved on in a playlist): end it.
        m_engine.stop();
    }
}

// The window can take the picture's size before the first frame is drawn into it: a frame
// drawn at one size and then at another has the picture's shaders built twice, and the frame
// after it comes late. The size the first frame brings is still the one that holds.
void ClipTracker::fileLoaded(QSize picture) {
    if (m_phase != Phase::Opening || m_opened != m_entry) return;
    m_phase = Phase::Loaded;
    if (picture.isEmpty()) return;
    m_pictureSize = picture;
    report(Report::Kind::PictureSize, picture.width(), picture.height());
}

void ClipTracker::playbackRestart(const Restart& now) {
    if (m_phase == Phase::Loaded) {
        firstStart(now);
    } else if (m_phase == Phase::Seeking) {
        completeSeek(now);
    }
}

void ClipTracker::endFile(const EndFile& end) {
    // Replaced clips end too; only ours counts.
    if (end.entry != m_entry) return;
    if (end.reason == EndReason::Redirect && end.insertedCount > 0) {
        // A network playlist: its first entry is now our clip.
        m_entry = end.insertedEntry;
        return;
    }
    // The Stopped handler may load another clip: the failure names this one.
    const QString failure =
        (started() ? FixedTexts::CannotPlay : FixedTexts::CannotOpen).arg(m_source, end.error);
    if (m_phase != Phase::Stopped) {
        // Not our own stop: a seek remembered since then does not apply.
        m_startAt = 0;
        m_engine.armOpenTimer(false);
    }
    m_phase = Phase::Stopped;
    m_seekWhenStarted.reset();
    m_seek.reset();
    setState(State::Stopped);
    if (end.reason == EndReason::Error) report(Report::Kind::Failure, 0, 0, failure);
}

// The size can change during play; while the picture goes away (stop) it is kept.
void ClipTracker::pictureChanged(QSize size) {
    if (started() && !size.isEmpty()) m_pictureSize = size;
}

void ClipTracker::positionChanged(bool available, std::int64_t ms) {
    if (!available || !fileOpen()) return;
    m_position = ms;
    if (m_phase == Phase::Running) reportPosition(ms, false);
}

void ClipTracker::durationChanged(bool available, std::int64_t ms) {
    if (available && fileOpen()) m_clip.durationMs = ms;
}

void ClipTracker::pauseChanged(bool paused) {
    if (started()) setState(paused ? State::Paused : State::Playing);
}

// Before the clip has started its title is read with the rest of the clip; after, each new
// one is told once.
void ClipTracker::titleChanged(const QString& title) {
    if (!started() || !fileOpen() || title == m_clip.title) return;
    m_clip.title = title;
    report(Report::Kind::Title, 0, 0, title);
}

// The last ordinary report can lie well before the end (a whole frame at low frame rates),
// so the end is always reported as position == length, once until play moves on.
void ClipTracker::endReached(bool reached) {
    if (!fileOpen()) return;
    if (!reached) {
        if (m_phase == Phase::AtEnd) m_phase = Phase::Running;
        return;
    }
    if (m_phase != Phase::Running) return;
    if (m_position <= 0 && m_pictureSize.isEmpty()) {
        endWithNothingPlayed();
        return;
    }
    reportEnd();
}

// A clip that ends at its start without a picture could not be read at all. The engine keeps
// it open at its end as it keeps every clip, paused with nothing to show: the user is told
// why, and the clip is ended. Over a network, a clip whose index is at its end cannot be read
// from a server that does not let the player move within the file.
void ClipTracker::endWithNothingPlayed() {
    const FixedText& why =
        m_clip.seekable ? FixedTexts::NothingPlayed : FixedTexts::ServerCannotSeek;
    giveUp(FixedTexts::CannotPlay.arg(m_source, why));
    m_engine.stop();
}

// A clip stopped before the engine began it ends without an end-file of its own.
void ClipTracker::idleChanged(bool idle) {
    if (idle && m_phase == Phase::Stopped && m_state != State::Closed) setState(State::Stopped);
}

void ClipTracker::openTimedOut() {
    if (!opening()) return;
    if (m_phase == Phase::AwaitingPicture) {
        giveUp(FixedTexts::CannotOpen.arg(m_source, FixedTexts::NoPicture));
        setState(State::Stopped);
        return;
    }
    giveUp(FixedTexts::CannotOpen.arg(
        m_source, FixedTexts::NoAnswer.arg(QString::number(m_openTimeoutMs / 1000.0))));
    m_engine.stop();
}

// ----- Bookkeeping -----

void ClipTracker::send(const QString& target, bool paused, std::int64_t startMs) {
    m_engine.setPaused(paused);
    const bool waits = !m_pictureReady;
    if (!waits) m_entry = m_engine.open(target, startMs);
    m_target = target;
    m_phase = waits ? Phase::AwaitingPicture : Phase::Requested;
    m_startAt = startMs;
    m_seek.reset();
    m_position = startMs;
    m_clip = ClipFacts{};
    m_engine.armOpenTimer(true);
}

void ClipTracker::firstStart(const Restart& now) {
    m_phase = Phase::Running;
    m_startAt = 0;
    m_engine.armOpenTimer(false);
    m_clip = now.clip;
    // Sound alone has no picture.
    m_pictureSize = now.clip.pictureSize.isEmpty() ? QSize(0, 0) : now.clip.pictureSize;
    m_position = now.positionMs;
    setState(now.paused ? State::Paused : State::Playing);
    reportPosition(m_position, true);
    if (m_seekWhenStarted) startSeek(*std::exchange(m_seekWhenStarted, std::nullopt), true);
}

void ClipTracker::startSeek(std::int64_t ms, bool fromHost) {
    m_engine.seek(ms);
    // Two seeks in a row complete as one: it goes from where the first began.
    if (!m_seek) m_seek = Seek{m_position, ms, false};
    m_seek->target = ms;
    m_seek->fromHost = m_seek->fromHost || fromHost;
    m_phase = Phase::Seeking;
}

// The observed position can still be the one before the seek, so it comes with the restart.
void ClipTracker::completeSeek(const Restart& now) {
    const Seek done = *std::exchange(m_seek, std::nullopt);
    m_phase = Phase::Running;
    m_position = now.positionMs;
    const std::int64_t clipLength = length();
    if (clipLength > 0 && (done.target >= clipLength || now.eofReached)) {
        reportEnd();
    } else {
        reportPosition(m_position, true);
    }
    const std::int64_t reached =
        clipLength > 0 ? std::clamp<std::int64_t>(m_position, 0, clipLength) : m_position;
    if (done.fromHost) report(Report::Kind::PostSeek, done.origin, reached);
}

// Stopped, the clip keeps its place for the next start: the seek completes at once.
void ClipTracker::rememberStart(std::int64_t ms) {
    const std::int64_t clipLength = length();
    if (clipLength > 0) ms = std::min(ms, clipLength);
    const std::int64_t origin = std::exchange(m_position, ms);
    m_startAt = ms;
    reportPosition(ms, true);
    report(Report::Kind::PostSeek, origin, ms);
}

void ClipTracker::giveUp(const QString& text) {
    m_phase = Phase::Stopped;
    m_seekWhenStarted.reset();
    m_startAt = 0;
    report(Report::Kind::Failure, 0, 0, text);
}

// The sound can outlast the picture: an ordinary report may already have said position ==
// length, which the host takes for the end. It is not told twice.
void ClipTracker::reportEnd() {
    m_phase = Phase::AtEnd;
    const std::int64_t clipLength = length();
    if (clipLength > 0 && m_lastReport == std::pair(clipLength, clipLength)) return;
    reportPosition(clipLength > 0 ? clipLength : m_position, true);
}

// An ordinary report that would say what the last one said tells nothing (the position held
// at the length); reports for completed seeks and openings are always made.
void ClipTracker::reportPosition(std::int64_t position, bool forced) {
    const std::int64_t now = m_clock();
    if (!forced && m_lastReportAt && now - *m_lastReportAt < m_positionIntervalMs) return;
    const std::int64_t clipLength = length();
    if (clipLength > 0) position = std::clamp<std::int64_t>(position, 0, clipLength);
    if (!forced && m_lastReport == std::pair(position, clipLength)) return;
    m_lastReportAt = now;
    m_lastReport = std::pair(position, clipLength);
    report(Report::Kind::Position, position, clipLength);
}

void ClipTracker::setState(State state) {
    if (state == m_state) return;
    const State old = std::exchange(m_state, state);
    report(Report::Kind::State, old, state);
}

void ClipTracker::report(Report::Kind kind, std::int64_t first, std::int64_t second, QString text) {
    m_reports.push_back(Report{kind, first, second, std::move(text)});
}

} // namespace korvel
