#pragma once

#include "playback/MediaControl.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QTimer>

#include <atomic>
#include <deque>
#include <exception>
#include <initializer_list>

struct mpv_handle;
struct mpv_event;

namespace korvel {

class PictureControls;
class PictureView;

// The media control on libmpv: one engine core per instance, isolated from any user
// configuration, scripts and key bindings, driven from the GUI thread. Engine events are
// collected from the engine's wakeup and handled on the GUI thread through the event loop.
//
// Beyond the interface's contract:
// - Title, length and picture size describe the clip that opened last. They stay while it
//   is stopped; while the next clip opens, the title is empty and the length 0 but the
//   picture size stays (the window keeps its size until the new picture is known). Before
//   any picture was known, and for sound alone, the size is 0 x 0.
// - StopPlay and PausePlay with nothing to stop or pause do nothing; StartPlay and SeekTo
//   with nothing loaded fail ("Nothing is loaded"). A seek made while the clip still opens
//   is carried out once it has opened. A negative position seeks to the start.
// - Position reports are held back while a seek is under way (they would show the old
//   place) and after the end report until the next seek; positions never exceed the length.
// - A local file is played as the media file it is: a playlist or edit list in it is not
//   followed (a late failure). A network playlist plays its first entry.
// - With the OpenGL picture, a clip loaded before the picture is first shown opens when it
//   is shown (the open timeout still runs).
// - It must not be destroyed from inside one of its own event handlers (use deleteLater).
class MpvMediaControl : public QObject, public MediaControl {
    Q_OBJECT

public:
    struct Options {
        enum class Picture {
            None,      // no picture at all (the engine decodes no video output)
            Automatic, // OpenGL on a graphics processor, else the software view
            OpenGl,    // OpenGL wherever a context can be made, a software rasteriser included
            Software,  // always the software view
        };
        Picture picture = Picture::Automatic;
        // Sound output driver of the engine ("null" for silence); empty for its default.
        QString audioOutput;
        // A clip that has not started within this time is given up with an error.
        int openTimeoutMs = 20000;
        // Least time between two ordinary position reports.
        int positionIntervalMs = 100;
    };

    // Raises KorvelError when the engine cannot be created.
    explicit MpvMediaControl(const Options& options, QObject* parent = nullptr);
    MpvMediaControl() : MpvMediaControl(Options{}) {}
    ~MpvMediaControl() override;

    QString QuerySource() const override;
    void LoadSource(const QString& location) override;
    int QueryVolume() const override;
    void ApplyVolume(int volume) override;
    void ApplyMute(bool mute) override;
    void StopPlay() override;
    void StartPlay() override;
    void PausePlay() override;
    std::int64_t QueryLength() const override;
    QString QueryTitle() const override;
    int QueryImageWidth() const override;
    int QueryImageHeight() const override;
    void SeekTo(std::int64_t ms) override;
    bool QueryFullScreen() const override;
    void EnterFullScreen() override;
    void OptionSwitch1(bool on) override;
    void OptionSwitch2(bool on) override;
    void OptionSwitch3(bool on) override;
    QWidget* pictureWidget() override;

    // The engine's mute setting (true = silent).
    bool isMuted() const;
    // The state last reported through OnStateChange.
    State state() const { return m_state; }

private:
    // What is kept of one engine event; the engine's own data lives only until the next
    // event is fetched, and handlers may fetch more while they run.
    struct Notice {
        int id = 0;
        std::int64_t entry = 0;
        int reason = 0;
        int error = 0;
        std::int64_t insertedEntry = 0;
        int inserted = 0;
        std::uint64_t property = 0;
        bool available = false;
        double number = 0;
    };

    static void wakeUp(void* context);
    void createCore(const Options& options);
    void setOption(const char* name, const char* value);
    void createPicture(Options::Picture picture);

    void drainEvents();
    void collectEvents();
    static Notice noticeOf(const mpv_event& event);
    void dispatch(const Notice& notice);
    void deliver(const std::function<void()>& call);
    void raiseFailure(const QString& text);
    void onStartFile(const Notice& notice);
    void onPlaybackRestart();
    void firstStart();
    void onEndFile(const Notice& notice);
    void onPropertyChange(const Notice& notice);
    void onEndReached(bool reached);
    void onOpenTimeout();
    void loadDeferred();

    std::int64_t loadFile(const QString& target);
    void sendLoad(const QString& target, bool paused);
    void learnClip();
    void learnPictureSize();
    void startSeek(std::int64_t ms, bool fromHost);
    void completeSeek();
    void reportEnd();
    void reportPosition(std::int64_t position, bool forced);
    void setState(State state);

    void command(std::initializer_list<const char*> arguments, const QString& what);
    void stopEngine();
    void setFlag(const char* name, bool on);
    void setNumber(const char* name, double value);
    bool readFlag(const char* name, bool fallback) const;
    double readNumber(const char* name, double fallback) const;
    QString readText(const char* name) const;
    std::int64_t currentPosition() const;

    mpv_handle* m_mpv = nullptr;
    QPointer<QWidget> m_pictureWidget;
    PictureView* m_view = nullptr; // valid while m_pictureWidget is
    PictureControls* m_controls = nullptr;
    QTimer m_openTimer;
    QElapsedTimer m_sinceReport;
    int m_positionIntervalMs = 100;
    std::atomic_bool m_wakeupQueued{false};

    std::deque<Notice> m_notices;
    std::deque<std::exception_ptr> m_failures;
    int m_dispatchDepth = 0;

    State m_state = Closed;
    QString m_source;
    QString m_target;
    std::int64_t m_entry = -1;   // the engine's id of our clip
    std::int64_t m_opened = -1;  // the id of the clip the engine started last
    bool m_loaded = false;       // our clip is in the engine (opening or open)
    bool m_loadDeferred = false; // our load waits for the picture to come up
    bool m_fileLoaded = false;
    bool m_started = false; // the clip has shown its first frame
    bool m_live = false;
    bool m_endReported = false;
    bool m_seekPending = false;
    bool m_seekFromHost = false;
    std::int64_t m_seekOrigin = 0;
    std::int64_t m_seekTarget = 0;
    std::int64_t m_deferredSeek = -1;
    std::int64_t m_position = 0;
    std::int64_t m_duration = 0;
    QString m_title;
    QSize m_pictureSize{0, 0};
};

} // namespace korvel
