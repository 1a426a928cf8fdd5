#include "engine/ClipTracker.h"
#include "base/KorvelError.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace korvel;

namespace {

// The engine as the tracker commands it: every command is written down; a location named
// "missing..." is refused, and the engine's own refusals can be switched on.
class ScriptedEngine : public ClipTracker::Engine {
public:
    QStringList commands;
    bool refuseSeek = false;
    std::int64_t nextEntry = 1;

    QString prepare(const QString& location) override {
        if (location.startsWith(u"missing"))
            throw KorvelError(QStringLiteral("Cannot open %1: no such file").arg(location));
        return QStringLiteral("T:") + location;
    }
    std::int64_t open(const QString& target, std::int64_t startMs) override {
        commands << QStringLiteral("open %1 @%2 #%3").arg(target).arg(startMs).arg(nextEntry);
        return nextEntry++;
    }
    void seek(std::int64_t ms) override {
        if (refuseSeek) throw KorvelError(QStringLiteral("Cannot seek: error running command"));
        commands << QStringLiteral("seek %1").arg(ms);
    }
    void stop() override { commands << QStringLiteral("stop"); }
    void setPaused(bool paused) override {
        commands << (paused ? QStringLiteral("pause") : QStringLiteral("play"));
    }
    void armOpenTimer(bool on) override {
        commands << (on ? QStringLiteral("timer on") : QStringLiteral("timer off"));
    }
};

// A tracker, its engine and a clock that moves only when told ("at N").
struct Rig {
    ScriptedEngine engine;
    std::int64_t now = 0;
    ClipTracker tracker{engine, [this] { return now; }, 100, 20000};
    QStringList reports;

    Rig() { tracker.pictureReady(); }

    // Runs steps separated by ';' (see step()), collecting the reports each made and what
    // each raised ("raised TEXT").
    void run(const QString& script) {
        for (const QString& text : script.split(u';', Qt::SkipEmptyParts)) {
            try {
                step(text.trimmed());
            } catch (const KorvelError& error) {
                reports << QStringLiteral("raised ") + error.text();
            }
            while (tracker.hasReports()) reports << describe(tracker.takeReport());
        }
    }

    static QString describe(const ClipTracker::Report& r) {
        using Kind = ClipTracker::Report::Kind;
        switch (r.kind) {
        case Kind::State: return QStringLiteral("state %1>%2").arg(r.first).arg(r.second);
        case Kind::Position: return QStringLiteral("pos %1/%2").arg(r.first).arg(r.second);
        case Kind::PostSeek: return QStringLiteral("seeked %1>%2").arg(r.first).arg(r.second);
        case Kind::Failure: return QStringLiteral("fail ") + r.text;
        case Kind::Title: return QStringLiteral("title ") + r.text;
        case Kind::PictureSize: return QStringLiteral("size %1x%2").arg(r.first).arg(r.second);
        }
        return {};
    }

    // Host requests: load X, start, start-at-eof, pause, stop, seek N, picture-ready.
    // Engine events: start-file N, file-loaded [WxH], restart POS paused|playing [eof] [live]
    // [sound] (a 3000 ms clip titled "T" of 320x240 unless live or sound alone),
    // end-file N stop|error|redirect M, time N, duration N, pause-flag yes|no, eof yes|no,
    // idle yes|no, picture WxH, timeout, title TEXT. Clock: at N.
    void step(const QString& text) {
        const QStringList w = text.split(u' ');
        const auto number = [&](int i) { return w.value(i).toLongLong(); };
        const auto yes = [&](int i) { return w.value(i) == u"yes"; };
        const QString& verb = w[0];
        if (verb == u"load") return tracker.load(w[1]);
        if (verb == u"start") return tracker.start(false);
        if (verb == u"start-at-eof") return tracker.start(true);
        if (verb == u"pause") return tracker.pause();
        if (verb == u"stop") return tracker.stop();
        if (verb == u"seek") return tracker.seek(number(1));
        if (verb == u"picture-ready") return tracker.pictureReady();
        if (verb == u"start-file") return tracker.startFile(number(1));
        if (verb == u"file-loaded") return tracker.fileLoaded(size(w.value(1)));
        if (verb == u"restart") return tracker.playbackRestart(restart(w));
        if (verb == u"end-file") return tracker.endFile(endFile(w));
        if (verb == u"time") return tracker.positionChanged(true, number(1));
        if (verb == u"duration") return tracker.durationChanged(true, number(1));
        if (verb == u"pause-flag") return tracker.pauseChanged(yes(1));
        if (verb == u"eof") return tracker.endReached(yes(1));
        if (verb == u"idle") return tracker.idleChanged(yes(1));
        if (verb == u"timeout") return tracker.openTimedOut();
        if (verb == u"title") return tracker.titleChanged(text.mid(6));
        if (verb == u"at") {
            now = number(1);
            return;
        }
        if (verb == u"picture") return tracker.pictureChanged(size(w[1]));
        ADD_FAILURE() << "unknown step " << text.toStdString();
    }

    static QSize size(const QString& text) {
        const QStringList wh = text.split(u'x');
        return wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize();
    }

    static ClipTracker::Restart restart(const QStringList& w) {
        ClipTracker::Restart r;
        r.positionMs = w[1].toLongLong();
        r.paused = w[2] == u"paused";
        r.eofReached = w.contains(QStringLiteral("eof"));
        r.clip = {QStringLiteral("T"), 3000, QSize(320, 240), w.contains(QStringLiteral("live"))};
        if (w.contains(QStringLiteral("sound"))) r.clip.pictureSize = QSize();
        r.clip.seekable = !w.contains(QStringLiteral("unseekable"));
        return r;
    }

    static ClipTracker::EndFile endFile(const QStringList& w) {
        ClipTracker::EndFile end;
        end.entry = w[1].toLongLong();
        end.reason = w[2] == u"error"      ? ClipTracker::EndReason::Error
                     : w[2] == u"redirect" ? ClipTracker::EndReason::Redirect
                                           : ClipTracker::EndReason::Stop;
        end.error = QStringLiteral("loading failed");
        if (end.reason == ClipTracker::EndReason::Redirect) {
            end.insertedEntry = w[3].toLongLong();
            end.insertedCount = 1;
        }
        return end;
    }
};

struct Case {
    const char* name;
    const char* setup;    // run first; its reports and commands are not checked
    const char* steps;    // the sequence under test
    const char* reports;  // what the host is told, in order, "; " between
    const char* commands; // what the engine is told, or nullptr when not checked
};

// A clip that has opened, paused at 0 (state Paused, entry 1).
constexpr const char* Opened = "load a; start-file 1; file-loaded; restart 0 paused";
// The same clip playing.
constexpr const char* Playing =
    "load a; start; start-file 1; file-loaded; restart 0 playing; at 1000";

void check(const Case& c) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.run(QString::fromUtf8(c.setup));
    rig.reports.clear();
    rig.engine.commands.clear();
    rig.run(QString::fromUtf8(c.steps));
    EXPECT_EQ(rig.reports.join(QStringLiteral("; ")), QString::fromUtf8(c.reports));
    if (c.commands) {
        EXPECT_EQ(rig.engine.commands.join(QStringLiteral("; ")), QString::fromUtf8(c.commands));
    }
}

} // namespace

// Fault: a clip opens without Opening first, reports Playing before its size and title can be
// read, or a replaced clip's end shows as a false Stopped.
TEST(ClipTracker, OpeningAndReplacing) {
    const Case cases[] = {
        {"first clip, paused", "", "load a; start-file 1; file-loaded; time 0; restart 0 paused",
         "state 0>1; state 1>3; pos 0/3000", "pause; open T:a @0 #1; timer on; timer off"},
        {"started at once", "", "load a; start; start-file 1; file-loaded; restart 40 playing",
         "state 0>1; state 1>4; pos 40/3000", nullptr},
        {"nothing before file-loaded counts", "", "load a; start-file 1; restart 0 paused",
         "state 0>1", nullptr},
        {"replaced clip's end ignored", Opened,
         "load b; end-file 1 stop; start-file 2; file-loaded; restart 0 paused",
         "state 3>1; state 1>3; pos 0/3000", nullptr},
        {"quick reloads: only the last counts", Playing,
         "load b; load c; start; end-file 1 stop; start-file 2; end-file 2 stop; start-file 3; "
         "file-loaded; restart 0 playing",
         "state 4>1; state 1>4; pos 0/3000", nullptr},
        {"a network playlist plays its first entry", "",
         "load a; start-file 1; end-file 1 redirect 7; start-file 7; file-loaded; "
         "restart 0 paused",
         "state 0>1; state 1>3; pos 0/3000", nullptr},
        {"an entry nobody asked for is ended", Opened, "start-file 9", "", "stop"},
        // The window takes the file's size before the first frame is drawn into it.
        {"the file's picture size is told ahead of the start", Opened,
         "load b; file-loaded 640x480; end-file 1 stop; start-file 2; file-loaded 1280x720; "
         "restart 0 paused",
         "state 3>1; size 1280x720; state 1>3; pos 0/3000", nullptr},
        // Fault: a radio stream kept the title it opened with while it played other songs.
        {"a new title while playing is told once", Playing,
         "title Song A; title Song A; title Song B", "title Song A; title Song B", nullptr},
        {"a title before the start is the clip's own", "",
         "load a; start-file 1; file-loaded; title Early; restart 0 paused",
         "state 0>1; state 1>3; pos 0/3000", nullptr},
        {"missing file refused, nothing changed", Opened, "load missing.mp4",
         "raised Cannot open missing.mp4: no such file", ""},
        {"late failure before the start", "", "load a; start-file 1; end-file 1 error",
         "state 0>1; state 1>2; fail Cannot open a: loading failed", nullptr},
        {"late failure during play", Playing, "end-file 1 error",
         "state 4>2; fail Cannot play a: loading failed", nullptr},
    };
    for (const Case& c : cases) check(c);

    // Stays queryable: title, length and size of the clip that opened last; the size is kept
    // while the next one opens.
    Rig rig;
    rig.run(QString::fromUtf8(Opened));
    rig.run(QStringLiteral("picture 426x240; load b; start-file 2"));
    EXPECT_EQ(rig.tracker.title(), QString());
    EXPECT_EQ(rig.tracker.length(), 0);
    EXPECT_EQ(rig.tracker.pictureSize(), QSize(426, 240));
    EXPECT_EQ(rig.tracker.source(), QStringLiteral("b"));
    rig.run(QStringLiteral("file-loaded; restart 0 paused sound"));
    EXPECT_EQ(rig.tracker.pictureSize(), QSize(0, 0)) << "sound alone has no picture";
}

// Fault: the end of a clip is reported late, never (the last position lies a frame before
// the end), more than once, or positions keep coming after it; reports flood the host.
TEST(ClipTracker, PositionsAndTheEnd) {
    const Case cases[] = {
        {"ordinary reports at most every 100 ms", Playing,
         "time 40; at 1050; time 80; at 1100; time 120; at 1199; time 160; at 1200; time 200",
         "pos 40/3000; pos 120/3000; pos 200/3000", nullptr},
        {"end reported as length once, last frame early", Playing,
         "time 2800; at 2000; eof yes; at 2200; time 2900; eof yes; pause-flag yes",
         "pos 2800/3000; pos 3000/3000; state 4>3", nullptr},
        {"positions never pass the length", Playing, "time 3016", "pos 3000/3000", nullptr},
        {"sound past the picture: the end is told once", Playing,
         "time 2900; at 1100; time 3016; at 1200; time 3030; eof yes; at 1300; time 3040",
         "pos 2900/3000; pos 3000/3000", nullptr},
        {"a held position is not repeated", Playing, "time 500; at 1200; pause; time 500",
         "pos 500/3000", nullptr},
        {"a live stream has length 0", "",
         "load a; start; start-file 1; file-loaded; restart 0 playing live; at 500; time 400",
         "state 0>1; state 1>4; pos 0/0; pos 400/0", nullptr},
        {"play at the end starts over without a PostSeek", Playing,
         "eof yes; pause-flag yes; start; eof no; restart 0 playing; pause-flag no",
         "pos 3000/3000; state 4>3; pos 0/3000; state 3>4", "seek 0; play"},
        {"play when the engine says end although not reported", Playing, "start-at-eof", "",
         "seek 0; play"},
        {"pause and resume", Playing, "pause; pause-flag yes; start; pause-flag no",
         "state 4>3; state 3>4", "pause; play"},
        // Fault: such a clip sat paused at 0:00, as a strip without a picture, and nobody
        // was told.
        {"a clip from a server that cannot seek in it ends at once, and says why", "",
         "load http://h/a.mp4; start; start-file 1; file-loaded; restart 0 playing sound "
         "unseekable; eof yes; end-file 1 stop",
         "state 0>1; state 1>4; pos 0/3000; fail Cannot play http://h/a.mp4: the server does "
         "not let the player move within the file, which this clip needs (its index is at its "
         "end); state 4>2",
         "pause; open T:http://h/a.mp4 @0 #1; timer on; play; timer off; stop"},
        {"a clip that played nothing ends at once, and says why", "",
         "load a; start-file 1; file-loaded; restart 0 paused sound; eof yes",
         "state 0>1; state 1>3; pos 0/3000; fail Cannot play a: it ended before anything in "
         "it played",
         nullptr},
        {"sound alone that played ends as any clip", Playing, "picture 0x0; time 2900; eof yes",
         "pos 2900/3000; pos 3000/3000", nullptr},
    };
    for (const Case& c : cases) check(c);
}

// Fault: two quick seeks give two PostSeeks or the wrong origin, a seek past the end while
// paused is never reported as the end, a seek made while the clip opens is lost, positions
// from before the seek are shown while it runs, or a refused seek leaves one pending.
TEST(ClipTracker, Seeks) {
    const Case cases[] = {
        {"one seek", Opened, "seek 1000; time 0; restart 1000 paused",
         "pos 1000/3000; seeked 0>1000", "seek 1000"},
        {"two seeks in a row complete as one", Opened,
         "time 200; seek 500; seek 2000; time 300; restart 2000 paused",
         "pos 2000/3000; seeked 200>2000", "seek 500; seek 2000"},
        {"past the end while paused is the end", Opened, "seek 8000; restart 2960 paused",
         "pos 3000/3000; seeked 0>2960", nullptr},
        {"negative seeks go to the start", Opened, "seek -500; restart 0 paused",
         "pos 0/3000; seeked 0>0", "seek 0"},
        {"a seek while opening is made once opened", "",
         "load a; start; seek 2000; start-file 1; file-loaded; restart 0 playing; "
         "restart 2000 playing",
         "state 0>1; state 1>4; pos 0/3000; pos 2000/3000; seeked 0>2000", nullptr},
        {"restarts without a seek are no seeks", Opened, "restart 0 paused", "", nullptr},
        {"the end re-arms after a seek back", Playing,
         "time 2950; eof yes; seek 1000; eof no; restart 1000 playing; at 2000; eof yes",
         "pos 2950/3000; pos 3000/3000; pos 1000/3000; seeked 2950>1000; pos 3000/3000", nullptr},
    };
    for (const Case& c : cases) check(c);

    Rig rig;
    rig.run(QString::fromUtf8(Opened));
    rig.engine.refuseSeek = true;
    EXPECT_THROW(rig.tracker.seek(1000), KorvelError);
    EXPECT_EQ(rig.tracker.phase(), ClipTracker::Phase::Running);
}

// Fault: after Stop the clip is forgotten: a seek (a skip, a mark, the position slider, a
// fast-forward step due after the stop) raises "Nothing is loaded", play does not start it
// again or not where the seek put it; and with nothing ever loaded, the panel's commands
// raise errors at all.
TEST(ClipTracker, StopAndPlayAgain) {
    const Case cases[] = {
        {"stop, then play opens the clip again from the start", Playing,
         "stop; end-file 1 stop; idle yes; start; start-file 2; file-loaded; "
         "restart 0 playing",
         "state 4>2; state 2>1; state 1>4; pos 0/3000",
         "stop; timer off; play; open T:a @0 #2; timer on; timer off"},
        {"a seek while stopped completes at once and is where play begins", Playing,
         "time 900; stop; end-file 1 stop; seek 1500; start; start-file 2; file-loaded; "
         "restart 1500 playing",
         "pos 900/3000; state 4>2; pos 1500/3000; seeked 900>1500; state 2>1; state 1>4; "
         "pos 1500/3000",
         "stop; timer off; play; open T:a @1500 #2; timer on; timer off"},
        {"a seek between stop and its end-file is kept", Playing,
         "stop; seek 1200; end-file 1 stop; start", "pos 1200/3000; seeked 0>1200; state 4>2",
         "stop; timer off; play; open T:a @1200 #2; "
         "timer on"},
        {"stopped seeks stay within the clip", Playing, "stop; seek 9000; seek -4",
         "pos 3000/3000; seeked 0>3000; pos 0/3000; seeked 3000>0", nullptr},
        {"a fast-forward step due after the stop", Playing,
         "seek 1000; restart 1000 playing; stop; end-file 1 stop; seek 1500",
         "pos 1000/3000; seeked 0>1000; state 4>2; pos 1500/3000; seeked 1000>1500",
         "seek 1000; stop; timer off"},
        {"length and title stay while stopped", Playing, "stop; end-file 1 stop; pause",
         "state 4>2", "stop; timer off"},
        {"a stop before the engine began the clip", Opened,
         "load b; stop; end-file 1 stop; idle yes", "state 3>2", nullptr},
        {"nothing ever loaded: nothing happens", "", "start; pause; stop; seek 1000", "", ""},
        {"a failed clip is opened afresh", "",
         "load a; start-file 1; end-file 1 error; "
         "seek 700; start",
         "state 0>1; state 1>2; fail Cannot open a: loading failed; pos 700/0; seeked 0>700",
         "pause; open T:a @0 #1; timer on; timer off; play; open T:a @700 #2; timer on"},
    };
    for (const Case& c : cases) check(c);

    Rig rig;
    rig.run(QString::fromUtf8(Playing));
    rig.run(QStringLiteral("stop; end-file 1 stop"));
    EXPECT_EQ(rig.tracker.length(), 3000);
    EXPECT_EQ(rig.tracker.title(), QStringLiteral("T"));
    EXPECT_EQ(rig.tracker.source(), QStringLiteral("a"));
}

// Fault: a server that never answers holds the clip in Opening for minutes, a clip loaded
// before the picture exists is never opened, or a timeout fires for a clip that started.
TEST(ClipTracker, OpenTimeoutAndTheWaitForThePicture) {
    const Case cases[] = {
        {"no answer in time", "", "load a; start; timeout; end-file 1 stop",
         "fail Cannot open a: no answer within 20 s; state 0>2",
         "pause; open T:a @0 #1; "
         "timer on; play; stop"},
        {"no timeout once started", Playing, "timeout", "", ""},
        {"no timeout while stopped", Playing, "stop; end-file 1 stop; timeout", "state 4>2",
         nullptr},
    };
    for (const Case& c : cases) check(c);

    // The picture view comes up late (OpenGL): the load waits for it, then is sent.
    Rig rig;
    ClipTracker late(
        rig.engine, [] { return 0; }, 100, 20000);
    late.load(QStringLiteral("a"));
    late.start(false);
    EXPECT_EQ(rig.engine.commands.join(u','), QStringLiteral("pause,timer on,play"));
    late.pictureReady();
    EXPECT_EQ(rig.engine.commands.last(), QStringLiteral("open T:a @0 #1"));
    EXPECT_EQ(late.phase(), ClipTracker::Phase::Requested);

    // Stopped, or given up, while it waits: the engine never had it, so the tracker says so.
    ClipTracker stopped(
        rig.engine, [] { return 0; }, 100, 20000);
    stopped.load(QStringLiteral("a"));
    stopped.stop();
    ClipTracker givenUp(
        rig.engine, [] { return 0; }, 100, 20000);
    givenUp.load(QStringLiteral("a"));
    givenUp.openTimedOut();
    QStringList told;
    while (givenUp.hasReports()) told << Rig::describe(givenUp.takeReport());
    EXPECT_EQ(told, QStringList({QStringLiteral("fail Cannot open a: the picture could not be "
                                                "set up"),
                                 QStringLiteral("state 0>2")}));
    ASSERT_TRUE(stopped.hasReports());
    EXPECT_EQ(Rig::describe(stopped.takeReport()), QStringLiteral("state 0>2"));
}
