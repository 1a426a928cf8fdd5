#pragma once

#include "engine/MediaControl.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <utility>

namespace korvel {

// What the host sees of the clip in the media engine, decided from the engine's events and
// the host's requests, without the engine itself: the tracker is told what happened (plain
// values) and what the host asks for, sends its commands through an Engine, and queues the
// reports (state changes, positions, completed seeks, late failures) for the adapter to
// deliver from the event loop.
//
// The engine it is written for opens a clip asynchronously (start-file, file-loaded, then a
// playback restart once the first frame is due), ends a replaced clip with an end-file of
// its own entry, keeps the last frame at the end (eof-reached, then it pauses by itself),
// completes one or more back-to-back seeks with one playback restart, and unloads the clip on
// stop (end-file with reason stop, then idle).
class ClipTracker {
public:
    // Where the clip is; one phase at a time.
    enum class Phase {
        NoClip,          // no location was ever loaded
        Stopped,         // the clip is not in the engine (stopped, failed, given up)
        AwaitingPicture, // loaded, but the engine gets it once the picture view is ready
        Requested,       // the engine was told to open it and has not begun
        Opening,         // the engine began it (start-file)
        Loaded,          // its file is open (file-loaded); the first frame is not due yet
        Running,         // it has started: paused or playing
        Seeking,         // started, and a seek is under way
        AtEnd,           // started, and its end was reported; nothing more until it moves
    };

    enum class EndReason { Eof, Stop, Quit, Error, Redirect };

    // The commands the tracker gives. Each raises KorvelError when the engine refuses.
    class Engine {
    public:
        virtual ~Engine() = default;
        // What the engine is to open for `location`; raises when it is not to be opened.
        virtual QString prepare(const QString& location) = 0;
        // Opens `target` (from prepare) in place of anything loaded, starting at `startMs`;
        // returns the engine's id for it.
        virtual std::int64_t open(const QString& target, std::int64_t startMs) = 0;
        virtual void seek(std::int64_t ms) = 0;
        virtual void stop() = 0;
        virtual void setPaused(bool paused) = 0;
        // Starts (or stops) the time a clip has to open; openTimedOut() when it runs out.
        virtual void armOpenTimer(bool on) = 0;
    };

    // What is known of the clip once it has started.
    struct ClipFacts {
        QString title;
        std::int64_t durationMs = 0;
        QSize pictureSize; // empty for sound alone
        bool live = false; // a network stream whose length only grows
        bool seekable = true;
    };

    // Read from the engine at a playback restart.
    struct Restart {
        std::int64_t positionMs = 0;
        bool paused = true;
        bool eofReached = false;
        ClipFacts clip;
    };

    struct EndFile {
        std::int64_t entry = 0;
        EndReason reason = EndReason::Stop;
        QString error; // the engine's text for the failure
        std::int64_t insertedEntry = 0;
        int insertedCount = 0;
    };

    struct Report {
        enum class Kind { State, Position, PostSeek, Failure, Title, PictureSize };
        Kind kind = Kind::State;
        std::int64_t first = 0;  // old state, position, seek origin or picture width
        std::int64_t second = 0; // new state, length, seek result or picture height
        QString text;            // the failure
    };

    // `clock` gives milliseconds on a steady clock; ordinary position reports are at least
    // `positionIntervalMs` apart. `openTimeoutMs` is only named in the timeout's text.
    ClipTracker(Engine& engine, std::function<std::int64_t()> clock, int positionIntervalMs,
                int openTimeoutMs);

    // ----- Host requests (MediaControl operations) -----
    void load(const QString& location);
    // `eofReached`: the engine's end flag as read now.
    void start(bool eofReached);
    void pause();
    void stop();
    void seek(std::int64_t ms);
    // The picture view came up (or there is none): a load that waited for it is sent.
    void pictureReady();

    // ----- Engine events -----
    void startFile(std::int64_t entry);
    // `picture`: the size the file gives its picture, before any frame is decoded (empty
    // when it has none or does not say).
    void fileLoaded(QSize picture = {});
    void playbackRestart(const Restart& now);
    void endFile(const EndFile& end);
    void pictureChanged(QSize size);
    void positionChanged(bool available, std::int64_t ms);
    void durationChanged(bool available, std::int64_t ms);
    void pauseChanged(bool paused);
    // The clip's title as the engine now tells it (a stream's title changes as it plays).
    void titleChanged(const QString& title);
    void endReached(bool reached);
    void idleChanged(bool idle);
    void openTimedOut();

    // ----- What the host reads -----
    Phase phase() const { return m_phase; }
    MediaControl::State state() const { return m_state; }
    QString source() const { return m_source; }
    std::int64_t length() const { return m_clip.live ? 0 : m_clip.durationMs; }
    QString title() const { return m_clip.title; }
    QSize pictureSize() const { return m_pictureSize; }
    std::int64_t position() const { return m_position; }

    bool hasReports() const { return !m_reports.empty(); }
    Report takeReport();

private:
    struct Seek {
        std::int64_t origin = 0;
        std::int64_t target = 0;
        bool fromHost = false;
    };

    bool inEngine() const;
    bool opening() const;
    bool started() const;
    bool fileOpen() const;

    void send(const QString& target, bool paused, std::int64_t startMs);
    void firstStart(const Restart& now);
    void startSeek(std::int64_t ms, bool fromHost);
    void completeSeek(const Restart& now);
    void rememberStart(std::int64_t ms);
    void giveUp(const QString& text);
    void reportEnd();
    void endWithNothingPlayed();
    void reportPosition(std::int64_t position, bool forced);
    void setState(MediaControl::State state);
    void report(Report::Kind kind, std::int64_t first, std::int64_t second, QString text = {});

    Engine& m_engine;
    std::function<std::int64_t()> m_clock;
    int m_positionIntervalMs;
    int m_openTimeoutMs;

    Phase m_phase = Phase::NoClip;
    MediaControl::State m_state = MediaControl::Closed;
    bool m_pictureReady = false;
    QString m_source;
    QString m_target;
    std::int64_t m_entry = -1;  // the engine's id of our clip
    std::int64_t m_opened = -1; // the id of the clip the engine began last
    std::int64_t m_startAt = 0; // where the clip is opened (a seek made while stopped)
    std::optional<std::int64_t> m_seekWhenStarted; // a seek made while the clip opens
    std::optional<Seek> m_seek;                    // the seek under way
    std::optional<std::int64_t> m_lastReportAt;
    std::optional<std::pair<std::int64_t, std::int64_t>> m_lastReport; // position, length
    std::int64_t m_position = 0;
    ClipFacts m_clip;
    QSize m_pictureSize{0, 0};
    std::deque<Report> m_reports;
};

} // namespace korvel
