#include "playback/MpvMediaControl.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "playback/MediaLocation.h"
#include "playback/PictureControls.h"
#include "playback/PictureView.h"

#include <mpv/client.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <utility>
#include <vector>

namespace korvel {

namespace {

// Ids of the observed engine properties.
enum Observed : std::uint64_t { TimePos = 1, Duration, Pause, EofReached, IdleActive };

// Everything that keeps the engine to playing what it is given: no configuration files,
// scripts, helpers, key bindings, on-screen display, remembered positions or disk caches.
// keep-open=always keeps the last frame at the end, so seeking back works there, and never
// lets the engine move on to another entry by itself. Frames are drawn on the GUI thread,
// which must never wait for a frame's due time (video-timing-offset). The picture view may
// pick the video track again; that choice is for one clip only (reset-on-next-file).
// clang-format off
constexpr const char* EngineOptions[][2] = {
    {"config", "no"}, {"load-scripts", "no"}, {"ytdl", "no"}, {"osc", "no"},
    {"load-stats-overlay", "no"}, {"load-osd-console", "no"}, {"load-auto-profiles", "no"},
    {"use-filedir-conf", "no"}, {"osd-level", "0"}, {"osd-on-seek", "no"}, {"terminal", "no"},
    {"input-terminal", "no"}, {"input-default-bindings", "no"}, {"input-builtin-bindings", "no"},
    {"input-vo-keyboard", "no"}, {"input-media-keys", "no"}, {"input-cursor", "no"},
    {"cursor-autohide", "no"}, {"save-position-on-quit", "no"}, {"resume-playback", "no"},
    {"load-unsafe-playlists", "no"}, {"cache-on-disk", "no"}, {"volume-max", "100"},
    {"keep-open", "always"}, {"idle", "yes"}, {"pause", "yes"}, {"keepaspect", "no"},
    {"hwdec", "no"}, {"video-timing-offset", "0"}, {"reset-on-next-file", "vid"}};
// clang-format on

// A local file may hold a playlist, an edit list or references to other files; it is
// played as what it is and nothing else.
constexpr const char* LocalFileOptions = "access-references=no";

QString engineError(int status) {
    return QString::fromUtf8(mpv_error_string(status));
}

void requireSet(int status, const char* name) {
    if (status < 0)
        throw KorvelError(FixedTexts::EngineRefused
                              .arg(QString::fromUtf8(name), engineError(status)));
}

std::int64_t toMs(double seconds) {
    return std::llround(seconds * 1000.0);
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

} // namespace

MpvMediaControl::MpvMediaControl(const Options& options, QObject* parent)
    : QObject(parent), m_positionIntervalMs(options.positionIntervalMs) {
    try {
        createCore(options);
        createPicture(options.picture);
    } catch (...) {
        if (m_mpv) mpv_terminate_destroy(m_mpv);
        throw;
    }
    m_openTimer.setSingleShot(true);
    m_openTimer.setInterval(options.openTimeoutMs);
    connect(&m_openTimer, &QTimer::timeout, this, &MpvMediaControl::onOpenTimeout);
}

// The render context goes first (the picture needs the engine), then the wakeup, then the
// engine; none of these waits on anything that can hang.
MpvMediaControl::~MpvMediaControl() {
    m_openTimer.stop();
    if (m_pictureWidget) {
        m_view->detach();
        if (!m_pictureWidget->parent()) delete m_pictureWidget.data();
    }
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    mpv_terminate_destroy(m_mpv);
}

void MpvMediaControl::createCore(const Options& options) {
    // The engine refuses to start unless numbers are written the C way.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv) throw KorvelError(FixedTexts::EngineStart);
    for (const auto& option : EngineOptions) setOption(option[0], option[1]);
    setOption("vo", options.picture == Options::Picture::None ? "null" : "libmpv");
    if (!options.audioOutput.isEmpty()) setOption("ao", options.audioOutput.toUtf8().constData());
    const int status = mpv_initialize(m_mpv);
    if (status < 0)
        throw KorvelError(
            (FixedTexts::EngineStart + QStringLiteral(": %1")).arg(engineError(status)));
    mpv_set_wakeup_callback(m_mpv, &MpvMediaControl::wakeUp, this);
    mpv_observe_property(m_mpv, TimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, Duration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, Pause, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, EofReached, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, IdleActive, "idle-active", MPV_FORMAT_FLAG);
}

void MpvMediaControl::setOption(const char* name, const char* value) {
    const int status = mpv_set_option_string(m_mpv, name, value);
    if (status < 0)
        throw KorvelError(FixedTexts::EngineOption
                              .arg(QString::fromUtf8(name), engineError(status)));
}

void MpvMediaControl::createPicture(Options::Picture picture) {
    if (picture == Options::Picture::None) return;
    const auto choice = picture == Options::Picture::OpenGl     ? PictureView::Choice::OpenGl
                        : picture == Options::Picture::Software ? PictureView::Choice::Software
                                                                : PictureView::Choice::Automatic;
    m_view = PictureView::create(m_mpv, choice);
    m_pictureWidget = m_view->widget();
    // The OpenGL view comes up when first shown; a load made before waits for it.
    m_view->onReady = [this] {
        QMetaObject::invokeMethod(
            this, [this] { loadDeferred(); }, Qt::QueuedConnection);
    };
    m_controls = new PictureControls(m_pictureWidget, this);
    m_controls->onClick = [this](int flags, int x, int y) {
        if (OnLButtonUp) OnLButtonUp(flags, x, y);
    };
    m_controls->onKey = [this](int flags, int key) {
        if (OnKeyDown) OnKeyDown(flags, key);
    };
}

// ----- Engine events -----

// Runs on an engine thread, sometimes inside an engine call: only hand the work to the GUI
// thread, once per burst.
void MpvMediaControl::wakeUp(void* context) {
    auto* control = static_cast<MpvMediaControl*>(context);
    if (control->m_wakeupQueued.exchange(true)) return;
    QMetaObject::invokeMethod(
        control, [control] { control->drainEvents(); }, Qt::QueuedConnection);
}

// Handlers may let the event loop run, which can drain again inside; the inner drain then
// handles the events that follow, in order, and only the outermost one raises failures, one
// per pass, so every failure reaches the error box and no event is left behind.
void MpvMediaControl::drainEvents() {
    m_wakeupQueued.store(false);
    collectEvents();
    ++m_dispatchDepth;
    while (!m_notices.empty()) {
        const Notice notice = m_notices.front();
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
    if (!m_failures.empty()) wakeUp(this);
    std::rethrow_exception(failure);
}

void MpvMediaControl::collectEvents() {
    for (;;) {
        const mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE) return;
        m_notices.push_back(noticeOf(*event));
    }
}

MpvMediaControl::Notice MpvMediaControl::noticeOf(const mpv_event& event) {
    Notice notice;
    notice.id = event.event_id;
    if (event.event_id == MPV_EVENT_START_FILE) {
        notice.entry = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
    } else if (event.event_id == MPV_EVENT_END_FILE) {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        notice.entry = end->playlist_entry_id;
        notice.reason = end->reason;
        notice.error = end->error;
        notice.insertedEntry = end->playlist_insert_id;
        notice.inserted = end->playlist_insert_num_entries;
    } else if (event.event_id == MPV_EVENT_PROPERTY_CHANGE) {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        notice.property = event.reply_userdata;
        notice.available = property->format != MPV_FORMAT_NONE;
        if (property->format == MPV_FORMAT_DOUBLE)
            notice.number = *static_cast<const double*>(property->data);
        if (property->format == MPV_FORMAT_FLAG)
            notice.number = *static_cast<const int*>(property->data);
    }
    return notice;
}

void MpvMediaControl::dispatch(const Notice& notice) {
    switch (notice.id) {
    case MPV_EVENT_START_FILE:
        onStartFile(notice);
        break;
    case MPV_EVENT_FILE_LOADED:
        if (m_opened == m_entry && m_loaded) m_fileLoaded = true;
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        onPlaybackRestart();
        break;
    case MPV_EVENT_END_FILE:
        onEndFile(notice);
        break;
    case MPV_EVENT_VIDEO_RECONFIG:
        if (m_started && m_loaded) learnPictureSize();
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        onPropertyChange(notice);
        break;
    default:
        break;
    }
}

// A host handler's failure must not cut the bookkeeping short: it is kept and raised after
// the pending events are handled.
void MpvMediaControl::deliver(const std::function<void()>& call) {
    try {
        call();
    } catch (...) {
        m_failures.push_back(std::current_exception());
        if (m_dispatchDepth == 0) wakeUp(this);
    }
}

void MpvMediaControl::raiseFailure(const QString& text) {
    if (OnAsyncFailure) {
        deliver([&] { OnAsyncFailure(text); });
        return;
    }
    m_failures.push_back(std::make_exception_ptr(KorvelError(text)));
    if (m_dispatchDepth == 0) wakeUp(this);
}

void MpvMediaControl::onStartFile(const Notice& notice) {
    m_opened = notice.entry;
    if (notice.entry == m_entry) {
        setState(Opening);
    } else if (notice.entry > m_entry) {
        // Nobody asked for this entry (the engine moved on in a playlist): end it.
        stopEngine();
    }
}

void MpvMediaControl::onPlaybackRestart() {
    if (!m_fileLoaded) return;
    if (!m_started) {
        firstStart();
    } else if (m_seekPending) {
        completeSeek();
    }
}

void MpvMediaControl::firstStart() {
    m_started = true;
    m_openTimer.stop();
    learnClip();
    setState(readFlag("pause", true) ? Paused : Playing);
    reportPosition(currentPosition(), true);
    if (m_deferredSeek >= 0) {
        const std::int64_t target = std::exchange(m_deferredSeek, -1);
        startSeek(target, true);
    }
}

void MpvMediaControl::onEndFile(const Notice& notice) {
    // Replaced clips end too; only ours counts.
    if (notice.entry != m_entry) return;
    if (notice.reason == MPV_END_FILE_REASON_REDIRECT && notice.inserted > 0) {
        // A network playlist: its first entry is now our clip.
        m_entry = notice.insertedEntry;
        return;
    }
    // The Stopped handler may load another clip: the failure names this one.
    const QString failure = QStringLiteral("Cannot %1 %2: %3")
                                .arg(m_started ? QStringLiteral("play") : QStringLiteral("open"),
                                     m_source, engineError(notice.error));
    m_loaded = m_fileLoaded = m_started = m_seekPending = false;
    m_deferredSeek = -1;
    m_openTimer.stop();
    setState(Stopped);
    if (notice.reason == MPV_END_FILE_REASON_ERROR) raiseFailure(failure);
}

void MpvMediaControl::onPropertyChange(const Notice& notice) {
    switch (notice.property) {
    case TimePos:
        if (!notice.available || !m_fileLoaded) return;
        m_position = toMs(notice.number);
        if (m_started && !m_seekPending && !m_endReported) reportPosition(m_position, false);
        return;
    case Duration:
        if (notice.available && m_fileLoaded) m_duration = toMs(notice.number);
        return;
    case Pause:
        if (m_started) setState(readFlag("pause", true) ? Paused : Playing);
        return;
    case EofReached:
        if (m_fileLoaded) onEndReached(notice.available && notice.number != 0);
        return;
    case IdleActive:
        // A clip stopped before the engine began it ends without an event of its own.
        if (notice.number != 0 && !m_loaded && m_state != Closed) setState(Stopped);
        return;
    default:
        return;
    }
}

// The last ordinary report can lie well before the end (a whole frame at low frame rates),
// so the end is always reported as position == length, once until the next seek.
void MpvMediaControl::onEndReached(bool reached) {
    if (!reached) {
        m_endReported = false;
        return;
    }
    if (m_started && !m_seekPending && !m_endReported) reportEnd();
}

void MpvMediaControl::onOpenTimeout() {
    if (!m_loaded || m_started) return;
    const QString text =
        m_loadDeferred
            ? QStringLiteral("Cannot open %1: the picture could not be set up").arg(m_source)
            : QStringLiteral("Cannot open %1: no answer within %2 s")
                  .arg(m_source, QString::number(m_openTimer.interval() / 1000.0));
    m_loaded = m_loadDeferred = false;
    m_deferredSeek = -1;
    stopEngine();
    raiseFailure(text);
}

void MpvMediaControl::loadDeferred() {
    if (!m_loadDeferred) return;
    m_loadDeferred = false;
    try {
        m_entry = loadFile(m_target);
    } catch (const KorvelError& error) {
        m_loaded = false;
        m_openTimer.stop();
        raiseFailure(error.text());
    }
}

// ----- Clip bookkeeping -----

std::int64_t MpvMediaControl::loadFile(const QString& target) {
    const QByteArray name = target.toUtf8();
    const char* options = MediaLocation::isStream(target) ? "" : LocalFileOptions;
    const char* arguments[] = {"loadfile", name.constData(), "replace", options, nullptr};
    mpv_node result;
    const int status = mpv_command_ret(m_mpv, arguments, &result);
    if (status < 0)
        throw KorvelError(FixedTexts::CannotOpen.arg(target, engineError(status)));
    const std::int64_t entry = entryIdOf(result);
    mpv_free_node_contents(&result);
    return entry;
}

void MpvMediaControl::sendLoad(const QString& target, bool paused) {
    setFlag("pause", paused);
    const bool deferred = m_pictureWidget && !m_view->isReady();
    if (!deferred) m_entry = loadFile(target);
    m_target = target;
    m_loadDeferred = deferred;
    m_loaded = true;
    m_fileLoaded = m_started = m_live = m_endReported = m_seekPending = false;
    m_position = m_duration = 0;
    m_title.clear();
    m_openTimer.start();
}

void MpvMediaControl::learnClip() {
    m_title = readText("metadata/by-key/title");
    // Sound alone has no display size.
    m_pictureSize = QSize(0, 0);
    learnPictureSize();
    m_duration = toMs(readNumber("duration", 0));
    // A live stream's length only grows with what has arrived; it has no length to show.
    double size = 0;
    const bool sized = mpv_get_property(m_mpv, "file-size", MPV_FORMAT_DOUBLE, &size) >= 0;
    m_live = readFlag("demuxer-via-network", false) && !readFlag("seekable", true) && !sized;
}

// The size can change during play; while the picture goes away (stop) it is kept.
void MpvMediaControl::learnPictureSize() {
    const QSize size(static_cast<int>(readNumber("dwidth", 0)),
                     static_cast<int>(readNumber("dheight", 0)));
    if (!size.isEmpty()) m_pictureSize = size;
}

void MpvMediaControl::startSeek(std::int64_t ms, bool fromHost) {
    command({"seek", QByteArray::number(static_cast<double>(ms) / 1000.0, 'f', 3).constData(),
             "absolute"},
            QStringLiteral("Cannot seek"));
    // Two seeks in a row complete as one: it goes from where the first began.
    if (!m_seekPending) {
        m_seekOrigin = m_position;
        m_seekFromHost = false;
    }
    m_seekFromHost = m_seekFromHost || fromHost;
    m_seekTarget = ms;
    m_seekPending = true;
    m_endReported = false;
}

// The observed position can still be the one before the seek, so it is read now.
void MpvMediaControl::completeSeek() {
    m_seekPending = false;
    m_position = currentPosition();
    const std::int64_t length = QueryLength();
    const bool atEnd = length > 0 && (m_seekTarget >= length || readFlag("eof-reached", false));
    if (atEnd) {
        reportEnd();
    } else {
        reportPosition(m_position, true);
    }
    const std::int64_t reached =
        length > 0 ? std::clamp<std::int64_t>(m_position, 0, length) : m_position;
    if (m_seekFromHost && OnPostSeek) deliver([&] { OnPostSeek(m_seekOrigin, reached); });
}

void MpvMediaControl::reportEnd() {
    m_endReported = true;
    const std::int64_t length = QueryLength();
    reportPosition(length > 0 ? length : m_position, true);
}

void MpvMediaControl::reportPosition(std::int64_t position, bool forced) {
    if (!forced && m_sinceReport.isValid() && m_sinceReport.elapsed() < m_positionIntervalMs)
        return;
    m_sinceReport.start();
    const std::int64_t length = QueryLength();
    if (length > 0) position = std::clamp<std::int64_t>(position, 0, length);
    if (OnPositionChange) deliver([&] { OnPositionChange(position, length); });
}

void MpvMediaControl::setState(State state) {
    if (state == m_state) return;
    const State old = std::exchange(m_state, state);
    if (OnStateChange) deliver([&] { OnStateChange(old, state); });
}

// ----- Operations -----

QString MpvMediaControl::QuerySource() const {
    return m_source;
}

void MpvMediaControl::LoadSource(const QString& location) {
    const QString target = MediaLocation::engineTarget(location);
    m_deferredSeek = -1;
    sendLoad(target, true);
    m_source = location;
}

int MpvMediaControl::QueryVolume() const {
    const double volume = std::clamp(readNumber("volume", 100), 0.0, 100.0);
    return static_cast<int>(std::lround(volume * 255.0 / 100.0));
}

void MpvMediaControl::ApplyVolume(int volume) {
    if (volume < 0 || volume > 100) throw KorvelError(FixedTexts::VolumeRange);
    setNumber("volume", volume);
}

void MpvMediaControl::ApplyMute(bool mute) {
    setFlag("mute", mute);
}

bool MpvMediaControl::isMuted() const {
    return readFlag("mute", false);
}

void MpvMediaControl::StopPlay() {
    m_openTimer.stop();
    m_deferredSeek = -1;
    const bool loaded = std::exchange(m_loaded, false);
    m_loadDeferred = false;
    if (loaded) command({"stop"}, QStringLiteral("Cannot stop"));
}

void MpvMediaControl::StartPlay() {
    if (m_source.isEmpty()) throw KorvelError(QStringLiteral("Nothing is loaded"));
    if (!m_loaded) {
        // Stopped: the clip was unloaded, so it is opened again (and checked again).
        sendLoad(MediaLocation::engineTarget(m_source), false);
        return;
    }
    // At the end the engine stays put when unpaused: play from the beginning instead.
    if (m_started && (m_endReported || readFlag("eof-reached", false))) startSeek(0, false);
    setFlag("pause", false);
}

void MpvMediaControl::PausePlay() {
    if (m_loaded) setFlag("pause", true);
}

std::int64_t MpvMediaControl::QueryLength() const {
    return m_live ? 0 : m_duration;
}

QString MpvMediaControl::QueryTitle() const {
    return m_title;
}

int MpvMediaControl::QueryImageWidth() const {
    return m_pictureSize.width();
}

int MpvMediaControl::QueryImageHeight() const {
    return m_pictureSize.height();
}

void MpvMediaControl::SeekTo(std::int64_t ms) {
    if (!m_loaded) throw KorvelError(QStringLiteral("Nothing is loaded"));
    // A negative absolute seek would count from the end.
    ms = std::max<std::int64_t>(ms, 0);
    if (!m_started) {
        m_deferredSeek = ms;
        return;
    }
    startSeek(ms, true);
}

bool MpvMediaControl::QueryFullScreen() const {
    return m_controls && m_controls->isFullScreen();
}

void MpvMediaControl::EnterFullScreen() {
    if (m_controls) m_controls->enterFullScreen();
}

void MpvMediaControl::OptionSwitch1(bool on) {
    setFlag("keepaspect", on);
}

void MpvMediaControl::OptionSwitch2(bool on) {
    if (m_controls) m_controls->setForwarding(on);
}

void MpvMediaControl::OptionSwitch3(bool on) {
    requireSet(mpv_set_property_string(m_mpv, "hwdec", on ? "auto-safe" : "no"), "hwdec");
}

QWidget* MpvMediaControl::pictureWidget() {
    return m_pictureWidget.data();
}

// ----- Engine access -----

void MpvMediaControl::command(std::initializer_list<const char*> arguments, const QString& what) {
    std::vector<const char*> list(arguments);
    list.push_back(nullptr);
    const int status = mpv_command(m_mpv, list.data());
    if (status < 0) throw KorvelError(QStringLiteral("%1: %2").arg(what, engineError(status)));
}

void MpvMediaControl::stopEngine() {
    const char* stop[] = {"stop", nullptr};
    mpv_command(m_mpv, stop);
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
    if (mpv_get_property(m_mpv, name, MPV_FORMAT_FLAG, &value) < 0) return fallback;
    return value != 0;
}

double MpvMediaControl::readNumber(const char* name, double fallback) const {
    double value = 0;
    if (mpv_get_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value) < 0) return fallback;
    return value;
}

QString MpvMediaControl::readText(const char* name) const {
    char* value = mpv_get_property_string(m_mpv, name);
    if (!value) return QString();
    const QString text = QString::fromUtf8(value);
    mpv_free(value);
    return text;
}

std::int64_t MpvMediaControl::currentPosition() const {
    return toMs(readNumber("time-pos", static_cast<double>(m_position) / 1000.0));
}

} // namespace korvel
