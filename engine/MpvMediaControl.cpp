#include "engine/MpvMediaControl.h"

#include "base/FixedTexts.h"
#include "base/HlsList.h"
#include "base/KorvelError.h"
#include "base/PathBytes.h"
#include "engine/EngineFailure.h"
#include "engine/EngineLog.h"
#include "engine/EngineOptions.h"
#include "engine/MediaLocation.h"
#include "engine/MpvLibrary.h"
#include "engine/picture/PictureControls.h"
#include "engine/picture/PictureDecoder.h"
#include "engine/picture/PictureView.h"
#include "playlist/ListFile.h"

#include <mpv/client.h>

#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <utility>
#include <vector>

namespace korvel {

namespace {

// Ids of the observed engine properties; the frame counts take three from FrameCountsFirst.
enum Observed : std::uint64_t {
    TimePos = 1,
    Duration,
    Pause,
    EofReached,
    IdleActive,
    Metadata,
    FrameCountsFirst
};

// A local file may hold a playlist, an edit list or references to other files; it is
// played as what it is and nothing else. The one local list the engine follows is a stream
// list (HlsList), whose segments are the stream itself: its reader takes them only from
// http(s) and from local files of media extensions, never from the engine's own sources.
constexpr const char* LocalFileOptions = "access-references=no";

// The user hears of a missing sound output once per run, not once per clip or engine.
std::atomic_bool silenceTold{false};

QString engineError(int status) { return EngineFailure::text(status); }

void requireSet(int status, const char* name) {
    if (status < 0)
        throw KorvelError(
            FixedTexts::EngineRefused.arg(QString::fromUtf8(name), engineError(status)));
}

std::int64_t toMs(double seconds) { return std::llround(seconds * 1000.0); }

QByteArray secondsText(std::int64_t ms) {
    return QByteArray::number(static_cast<double>(ms) / 1000.0, 'f', 3);
}

std::int64_t entryIdOf(const mpv_node& result) {
    if (result.format != MPV_FORMAT_NODE_MAP) return -1;
    const mpv_node_list* map = result.u.list;
    for (int i = 0; i < map->num; ++i) {
        if (qstrcmp(map->keys[i], "playlist_entry_id") == 0 &&
            map->values[i].format == MPV_FORMAT_INT64)
            return map->values[i].u.int64;
    }
    return -1;
}

// The engine's end-file reasons by number (1 is not used).
constexpr ClipTracker::EndReason EndReasons[] = {
    ClipTracker::EndReason::Eof,  ClipTracker::EndReason::Stop,  ClipTracker::EndReason::Stop,
    ClipTracker::EndReason::Quit, ClipTracker::EndReason::Error, ClipTracker::EndReason::Redirect};

} // namespace

MpvMediaControl::MpvMediaControl(const Options& options, QObject* parent)
    : QObject(parent), m_options(options), m_decoder(options.hardwareDecoder),
      m_wakeup(this, [this] { drainEvents(); }),
      m_tracker(
          *this, [this] { return m_clock.elapsed(); }, options.positionIntervalMs,
          options.openTimeoutMs),
      m_audioOutput(options.audioOutput) {
    m_clock.start();
    createPictureArea();
    m_openTimer.setSingleShot(true);
    m_openTimer.setInterval(options.openTimeoutMs);
    connect(&m_openTimer, &QTimer::timeout, this, [this] {
        m_tracker.openTimedOut();
        settle();
    });
}

// The render context goes first (the picture needs the engine), then the wakeup, then the
// engine; none of these waits on anything that can hang.
MpvMediaControl::~MpvMediaControl() {
    m_openTimer.stop();
    if (m_pictureWidget) {
        if (m_view) m_view->detach();
        if (!m_pictureWidget->parent()) delete m_pictureWidget.data();
    }
    destroyCore();
}

// The engine itself is made when the first clip is loaded: until then the player has
// nothing to decode, and starting it (with the libraries it brings) would only delay the
// windows and hold memory.
void MpvMediaControl::requireCore() {
    if (m_mpv) return;
    try {
        createCore(m_options);
        createPicture(m_options.picture);
    } catch (...) {
        if (m_pictureWidget && m_view) {
            m_view->detach();
            delete m_view->widget();
        }
        m_view = nullptr;
        destroyCore();
        throw;
    }
    m_tracker.pictureReady();
}

void MpvMediaControl::destroyCore() {
    if (!m_mpv) return;
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    mpv_terminate_destroy(std::exchange(m_mpv, nullptr));
    m_drawingAhead.reset();
}

void MpvMediaControl::createCore(const Options& options) {
    // The engine refuses to start unless numbers are written the C way.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv) {
        const QString why = MpvLibrary::failure();
        throw KorvelError(why.isEmpty() ? FixedTexts::EngineStart
                                        : FixedTexts::EngineStart + QStringLiteral(": ") + why);
    }
    for (const auto& option : EngineOptions) setOption(option[0], option[1]);
    // Without a graphics processor nothing is decoded in hardware, and the picture need not
    // look for the ways to show such frames: the look for a graphics card's own (its CUDA
    // library) prints on the terminal where the card's driver is missing.
    setOption("gpu-hwdec-interop", PictureView::hasGraphicsProcessor() ? "auto" : "no");
    applySettings();
    setOption("vo", options.picture == Options::Picture::None ? "null" : "libmpv");
    if (!options.audioOutput.isEmpty()) setOption("ao", options.audioOutput.toUtf8().constData());
    const int status = mpv_initialize(m_mpv);
    if (status < 0)
        throw KorvelError(
            (FixedTexts::EngineStart + QStringLiteral(": %1")).arg(engineError(status)));
    // Runs on an engine thread, sometimes inside an engine call.
    mpv_set_wakeup_callback(
        m_mpv, [](void* control) { static_cast<MpvMediaControl*>(control)->m_wakeup.request(); },
        this);
    // Errors, to learn why a sound output failed, and more when the engine's log is on.
    mpv_request_log_messages(m_mpv, EngineLog::engineLevel());
    mpv_observe_property(m_mpv, TimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, Duration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, Pause, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, EofReached, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, IdleActive, "idle-active", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, Metadata, "metadata", MPV_FORMAT_NONE);
    if (EngineLog::enabled()) m_frames.observe(m_mpv, FrameCountsFirst);
}

void MpvMediaControl::setOption(const char* name, const char* value) {
    const int status = mpv_set_option_string(m_mpv, name, value);
    if (status < 0)
        throw KorvelError(
            FixedTexts::EngineOption.arg(QString::fromUtf8(name), engineError(status)));
}

// The area the picture will be shown in exists from the start, so the playback window has
// it to hold and the user's clicks and keys on it are heard before any clip.
void MpvMediaControl::createPictureArea() {
    if (m_options.picture == Options::Picture::None) return;
    // Black until the first frame: the area fills itself (an opaque-paint widget would not,
    // and would show whatever the window held before).
    auto* area = new QWidget;
    area->setAutoFillBackground(true);
    QPalette black = area->palette();
    black.setColor(QPalette::Window, Qt::black);
    area->setPalette(black);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pictureWidget = area;
    m_controls = new PictureControls(area, this);
    m_controls->onClick = [this](int flags, int x, int y) {
        if (OnLButtonUp) OnLButtonUp(flags, x, y);
    };
    m_controls->onKey = [this](int flags, int key) {
        if (OnKeyDown) OnKeyDown(flags, key);
    };
    m_controls->onLeave = [this] {
        if (OnFullScreenEnd) OnFullScreenEnd();
    };
}

void MpvMediaControl::createPicture(Options::Picture picture) {
    if (picture == Options::Picture::None || !m_pictureWidget) return;
    const auto choice = picture == Options::Picture::OpenGl     ? PictureView::Choice::OpenGl
                        : picture == Options::Picture::Software ? PictureView::Choice::Software
                                                                : PictureView::Choice::Automatic;
    m_view = PictureView::create(m_mpv, choice);
    // The area hears the pointer and the keys; the view only draws.
    QWidget* view = m_view->widget();
    view->setAttribute(Qt::WA_TransparentForMouseEvents);
    view->setFocusPolicy(Qt::NoFocus);
    m_pictureWidget->layout()->addWidget(view);
}

// ----- Engine events -----
// Handlers may let the event loop run, which can drain again inside; the inner drain then
// handles the events and reports that follow, in order, and only the outermost one raises
// failures, one per pass, so every failure reaches the error box and nothing is left behind.
void MpvMediaControl::drainEvents() {
    collectEvents();
    ++m_dispatchDepth;
    for (;;) {
        if (m_tracker.hasReports()) {
            deliver(m_tracker.takeReport());
            continue;
        }
        if (m_notices.empty()) break;
        const EngineNotice notice = m_notices.front();
        m_notices.pop_front();
        try {
            dispatch(notice);
        } catch (...) {
            m_failures.push_back(std::current_exception());
        }
    }
    --m_dispatchDepth;
    if (m_dispatchDepth > 0 || m_failures.empty()) return;
    const std::exception_ptr failure = m_failures.front();
    m_failures.pop_front();
    if (!m_failures.empty()) m_wakeup.request();
    std::rethrow_exception(failure);
}

void MpvMediaControl::collectEvents() {
    for (;;) {
        const mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE) return;
        m_notices.push_back(EngineNotice::of(*event));
    }
}

void MpvMediaControl::dispatch(const EngineNotice& notice) {
    switch (notice.id) {
    case MPV_EVENT_START_FILE:
        // Whatever the view still shows belongs to the clip before.
        clearView();
        m_frames.startClip();
        m_tracker.startFile(notice.entry);
        break;
    case MPV_EVENT_FILE_LOADED: m_tracker.fileLoaded(readFilePictureSize()); break;
    case MPV_EVENT_PLAYBACK_RESTART: m_tracker.playbackRestart(readRestart()); break;
    case MPV_EVENT_END_FILE: onEndFile(notice); break;
    case MPV_EVENT_VIDEO_RECONFIG: onPictureChanged(); break;
    case MPV_EVENT_AUDIO_RECONFIG: checkSoundOutput(); break;
    case MPV_EVENT_PROPERTY_CHANGE: onPropertyChange(notice); break;
    default: break;
    }
}

// The engine may draw the clip before's last frame again until it learns that the new clip
// has no picture: once it has, nothing of that frame stays in view.
void MpvMediaControl::onPictureChanged() {
    const QSize size = readPictureSize();
    // The software picture draws each frame when due, as it always has.
    const bool software = m_pictureWidget && m_view && !m_view->drawsWithOpenGl();
    drawAhead(!software && qint64(size.width()) * size.height() >= FrameLeadPixels);
    if (size.isEmpty()) {
        clearView();
    } else {
        const QByteArray decoder = PictureDecoder::describe(readText("hwdec-current"));
        qCInfo(EngineLog::category(), "%s", decoder.constData());
        // The new clip's first frame may have come before its start was heard, and been
        // cleared with the clip before's: once the engine has the new picture, what it draws
        // is the new clip's.
        if (m_pictureWidget && m_view) m_view->redraw();
    }
    m_tracker.pictureChanged(size);
}

void MpvMediaControl::endReached(bool reached) {
    if (reached) m_frames.endClip();
    m_tracker.endReached(reached);
}

// The view goes with its area, which its window may destroy at any time.
void MpvMediaControl::clearView() {
    if (m_pictureWidget && m_view) m_view->clear();
}

void MpvMediaControl::onEndFile(const EngineNotice& notice) {
    m_frames.endClip();
    const bool known = notice.reason >= 0 && notice.reason < int(std::size(EndReasons));
    m_tracker.endFile({notice.entry,
                       known ? EndReasons[notice.reason] : ClipTracker::EndReason::Stop,
                       engineError(notice.error), notice.insertedEntry, notice.inserted});
}

void MpvMediaControl::onPropertyChange(const EngineNotice& notice) {
    const bool flag = notice.available && notice.number != 0;
    switch (notice.property) {
    case TimePos: m_tracker.positionChanged(notice.available, toMs(notice.number)); return;
    case Duration: m_tracker.durationChanged(notice.available, toMs(notice.number)); return;
    case Pause: // the engine's own pause at the end may come before its end flag: end first
        if (flag && readFlag("eof-reached", false)) endReached(true);
        m_tracker.pauseChanged(flag);
        return;
    case EofReached: endReached(flag); return;
    case IdleActive: m_tracker.idleChanged(flag); return;
    case Metadata: m_tracker.titleChanged(readTitle()); return;
    default: m_frames.take(notice.property, notice.available, notice.number); return;
    }
}

void MpvMediaControl::deliver(const ClipTracker::Report& report) {
    using Kind = ClipTracker::Report::Kind;
    switch (report.kind) {
    case Kind::State:
        if (OnStateChange)
            handOver([&] {
                OnStateChange(static_cast<int>(report.first), static_cast<int>(report.second));
            });
        return;
    case Kind::Position:
        if (OnPositionChange) handOver([&] { OnPositionChange(report.first, report.second); });
        return;
    case Kind::PostSeek:
        if (OnPostSeek) handOver([&] { OnPostSeek(report.first, report.second); });
        return;
    case Kind::Failure: raiseFailure(report.text); return;
    case Kind::Title:
        if (OnTitleChange) handOver([&] { OnTitleChange(); });
        return;
    case Kind::PictureSize:
        if (onPictureSize) handOver([&] { onPictureSize(); });
        return;
    }
}

// A host handler's failure must not cut the bookkeeping short: it is kept and raised after
// the pending events are handled.
void MpvMediaControl::handOver(const std::function<void()>& call) {
    try {
        call();
    } catch (...) {
        m_failures.push_back(std::current_exception());
        if (m_dispatchDepth == 0) m_wakeup.request();
    }
}

void MpvMediaControl::raiseFailure(const QString& text) {
    if (OnAsyncFailure) {
        handOver([&] { OnAsyncFailure(text); });
        return;
    }
    m_failures.push_back(std::make_exception_ptr(KorvelError(text)));
    if (m_dispatchDepth == 0) m_wakeup.request();
}

// What an operation made due is delivered from the event loop, never inside the operation.
void MpvMediaControl::settle() {
    if (m_tracker.hasReports()) m_wakeup.request();
}

// The engine falls back to silence when no sound output opens; the clock runs on and the
// user hears why once.
void MpvMediaControl::checkSoundOutput() {
    if (m_audioOutput == u"null" || readText("current-ao") != u"null") return;
    if (silenceTold.exchange(true)) return;
    // The engine's own words, English only, are in its log (KORVEL_ENGINE_LOG=1); the line
    // on the terminal says what was tried in the user's language.
    const QString reason = m_audioOutput.isEmpty()
                               ? FixedTexts::NoSoundOutputOfTheSystem.text()
                               : FixedTexts::SoundOutputTried.arg(m_audioOutput);
    std::fprintf(stderr, "korvel: %s\n", qUtf8Printable(FixedTexts::NoSoundOutput.arg(reason)));
}

// A frame drawn ahead waits in the engine for its time before it is shown, and a hand-off or
// a seek waits with it: only pictures that take long to draw are drawn ahead. The engine takes
// the change with the next frame it queues. The log tells what the engine holds now.
void MpvMediaControl::drawAhead(bool ahead) {
    if (ahead == m_drawingAhead) return;
    setNumber("video-timing-offset", ahead ? FrameLeadSeconds : 0.0);
    m_drawingAhead = ahead;
    if (EngineLog::enabled())
        qCInfo(EngineLog::category(), "frames drawn %lld ms ahead of their time",
               static_cast<long long>(toMs(readNumber("video-timing-offset", -1))));
}

ClipTracker::Restart MpvMediaControl::readRestart() const {
    ClipTracker::Restart now;
    // The observed position can still be the one before a seek, so it is read now.
    now.positionMs =
        toMs(readNumber("time-pos", static_cast<double>(m_tracker.position()) / 1000.0));
    now.paused = readFlag("pause", true);
    now.eofReached = readFlag("eof-reached", false);
    now.clip.title = readTitle();
    now.clip.durationMs = toMs(readNumber("duration", 0));
    now.clip.pictureSize = readPictureSize();
    // A live stream's length only grows with what has arrived; it has no length to show.
    double size = 0;
    const bool sized = mpv_get_property(m_mpv, "file-size", MPV_FORMAT_DOUBLE, &size) >= 0;
    now.clip.seekable = readFlag("seekable", true);
    now.clip.live = readFlag("demuxer-via-network", false) && !now.clip.seekable && !sized;
    return now;
}

// A radio stream has no title tag of its own but tells the title of what it plays now.
QString MpvMediaControl::readTitle() const {
    const QString tagged = readText("metadata/by-key/title");
    return tagged.isEmpty() ? readText("metadata/by-key/icy-title") : tagged;
}

QSize MpvMediaControl::readPictureSize() const {
    return QSize(static_cast<int>(readNumber("dwidth", 0)),
                 static_cast<int>(readNumber("dheight", 0)));
}

// The picture's size as the file's video track gives it, with its pixels' aspect, as the
// engine's own display size will have it once a frame is decoded.
QSize MpvMediaControl::readFilePictureSize() const {
    const double width = readNumber("current-tracks/video/demux-w", 0);
    const double height = readNumber("current-tracks/video/demux-h", 0);
    const double aspect = readNumber("current-tracks/video/demux-par", 1);
    const double wider = aspect > 1 ? aspect : 1;
    const double taller = aspect > 0 && aspect < 1 ? 1 / aspect : 1;
    // Cut to whole pixels as the engine does; a file may claim any size, and what no window
    // could have is no size.
    const auto pixels = [](double value) {
        return value >= 1 && value <= QWIDGETSIZE_MAX ? static_cast<int>(value + 1e-3) : 0;
    };
    return QSize(pixels(width * wider), pixels(height * taller));
}

// ----- Commands the tracker gives -----
QString MpvMediaControl::prepare(const QString& location) {
    return MediaLocation::engineTarget(location);
}

std::int64_t MpvMediaControl::open(const QString& target, std::int64_t startMs) {
    QByteArrayList options;
    if (!MediaLocation::isStream(target) && !HlsList::isHlsFile(target, ListFile::MaxFileBytes))
        options.append(LocalFileOptions);
    if (startMs > 0) options.append("start=" + secondsText(startMs));
    // The name's own bytes, also where they are not UTF-8.
    const QByteArray name = PathBytes::toBytes(target);
    const QByteArray joined = options.join(',');
    const char* arguments[] = {"loadfile", name.constData(), "replace", joined.constData(),
                               nullptr};
    mpv_node result;
    const int status = mpv_command_ret(m_mpv, arguments, &result);
    if (status < 0)
        throw KorvelError(
            FixedTexts::CannotOpen.arg(PathBytes::displayed(target), engineError(status)));
    const std::int64_t entry = entryIdOf(result);
    mpv_free_node_contents(&result);
    return entry;
}

void MpvMediaControl::seek(std::int64_t ms) {
    command({"seek", secondsText(ms).constData(), "absolute"}, FixedTexts::CannotSeek);
}

void MpvMediaControl::stop() { command({"stop"}, FixedTexts::CannotStop); }

void MpvMediaControl::setPaused(bool paused) { setFlag("pause", paused); }

void MpvMediaControl::armOpenTimer(bool on) { on ? m_openTimer.start() : m_openTimer.stop(); }

// ----- Operations -----
QString MpvMediaControl::QuerySource() const { return m_tracker.source(); }

void MpvMediaControl::LoadSource(const QString& location) {
    MediaLocation::engineTarget(location); // a refused location needs no engine
    requireCore();
    m_tracker.load(location);
    settle();
}

int MpvMediaControl::QueryVolume() const {
    const double volume = std::clamp(readNumber("volume", m_settings.volume), 0.0, 100.0);
    return static_cast<int>(std::lround(volume * 255.0 / 100.0));
}

void MpvMediaControl::ApplyVolume(int volume) {
    if (volume < 0 || volume > 100) throw KorvelError(FixedTexts::VolumeRange);
    if (m_mpv) setNumber("volume", volume);
    m_settings.volume = volume;
}

void MpvMediaControl::ApplyMute(bool mute) {
    if (m_mpv) setFlag("mute", mute);
    m_settings.mute = mute;
}

// What was set before the engine existed is where it starts.
void MpvMediaControl::applySettings() {
    setNumber("volume", m_settings.volume);
    setFlag("mute", m_settings.mute);
    setFlag("keepaspect", m_settings.keepAspect);
    setOption("hwdec", m_decoder.value(m_settings.hardwareDecoding));
}

void MpvMediaControl::StopPlay() {
    m_tracker.stop();
    settle();
}

void MpvMediaControl::StartPlay() {
    m_tracker.start(readFlag("eof-reached", false));
    settle();
}

void MpvMediaControl::PausePlay() { m_tracker.pause(); }

std::int64_t MpvMediaControl::QueryLength() const { return m_tracker.length(); }

QString MpvMediaControl::QueryTitle() const { return m_tracker.title(); }

int MpvMediaControl::QueryImageWidth() const { return m_tracker.pictureSize().width(); }

int MpvMediaControl::QueryImageHeight() const { return m_tracker.pictureSize().height(); }

void MpvMediaControl::SeekTo(std::int64_t ms) {
    m_tracker.seek(ms);
    settle();
}

bool MpvMediaControl::QueryFullScreen() const { return m_controls && m_controls->isFullScreen(); }

void MpvMediaControl::EnterFullScreen() {
    if (m_controls) m_controls->enterFullScreen();
}

void MpvMediaControl::OptionSwitch1(bool on) {
    if (m_mpv) setFlag("keepaspect", on);
    m_settings.keepAspect = on;
}

void MpvMediaControl::OptionSwitch2(bool on) {
    if (m_controls) m_controls->setForwarding(on);
}

void MpvMediaControl::OptionSwitch3(bool on) {
    if (m_mpv) requireSet(mpv_set_property_string(m_mpv, "hwdec", m_decoder.value(on)), "hwdec");
    m_settings.hardwareDecoding = on;
}

QWidget* MpvMediaControl::pictureWidget() { return m_pictureWidget.data(); }

// ----- Engine access -----
void MpvMediaControl::command(std::initializer_list<const char*> arguments, const QString& what) {
    std::vector<const char*> list(arguments);
    list.push_back(nullptr);
    const int status = mpv_command(m_mpv, list.data());
    if (status < 0) throw KorvelError(QStringLiteral("%1: %2").arg(what, engineError(status)));
}

void MpvMediaControl::setFlag(const char* name, bool on) {
    int value = on ? 1 : 0;
    requireSet(mpv_set_property(m_mpv, name, MPV_FORMAT_FLAG, &value), name);
}

void MpvMediaControl::setNumber(const char* name, double value) {
    requireSet(mpv_set_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value), name);
}

bool MpvMediaControl::readFlag(const char* name, bool fallback) const {
    int value = 0;
    if (!m_mpv || mpv_get_property(m_mpv, name, MPV_FORMAT_FLAG, &value) < 0) return fallback;
    return value != 0;
}

double MpvMediaControl::readNumber(const char* name, double fallback) const {
    double value = 0;
    if (!m_mpv || mpv_get_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value) < 0) return fallback;
    return value;
}

QString MpvMediaControl::readText(const char* name) const {
    char* value = m_mpv ? mpv_get_property_string(m_mpv, name) : nullptr;
    if (!value) return QString();
    const QString text = QString::fromUtf8(value);
    mpv_free(value);
    return text;
}

} // namespace korvel
