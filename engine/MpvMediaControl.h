#pragma once

#include "engine/ClipTracker.h"
#include "engine/EngineNotice.h"
#include "engine/FrameCounts.h"
#include "engine/MediaControl.h"
#include "engine/MpvTracks.h"
#include "engine/QueuedWakeup.h"
#include "engine/picture/PictureDecoder.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <exception>
#include <initializer_list>
#include <optional>

struct mpv_handle;
struct mpv_event;

namespace korvel {

class PictureControls;
class PictureView;

// The media control on libmpv: one engine core per instance, isolated from any user
// configuration, scripts and key bindings, driven from the GUI thread. Engine events are
// collected from the engine's wakeup and handled on the GUI thread through the event loop;
// what the host sees of them is decided by a ClipTracker.
//
// Beyond the interface's contract:
// - Title, length and picture size describe the clip that opened last. They stay while it
//   is stopped; while the next clip opens, the title is empty and the length 0 but the
//   picture size stays (the window keeps its size until the new picture is known). Before
//   any picture was known, and for sound alone, the size is 0 x 0.
// - A seek made while the clip is stopped is reported at once (a position report, then
//   OnPostSeek); the next StartPlay opens the clip at that place.
// - Position reports are held back while a seek is under way (they would show the old
//   place) and after the end report until the next seek; positions never exceed the length.
// - Without a working sound output the clips play silently with their clock running; the
//   process says so once on stderr.
// - A local file is played as the media file it is: a playlist or edit list in it is not
//   followed (a late failure). A network playlist plays its first entry.
// - With the OpenGL picture, a clip loaded before the picture is first shown opens when it
//   is shown (the open timeout still runs).
// - It must not be destroyed from inside one of its own event handlers (use deleteLater).
class MpvMediaControl : public QObject, public MediaControl, private ClipTracker::Engine {
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
        // Sound output drivers of the engine, in the order tried ("null" for silence); empty
        // for the engine's own choice. Silence is the last resort in every case.
        QString audioOutput;
        // A clip that has not started within this time is given up with an error.
        int openTimeoutMs = 20000;
        // Least time between two ordinary position reports.
        int positionIntervalMs = 100;
        // The hardware decoder the user asked for (the engine's hwdec values); none decodes
        // in software.
        QByteArray hardwareDecoder;
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
    State QueryState() const override { return m_tracker.state(); }
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
    MediaTracks QueryTracks() const override { return MpvTracks::read(m_mpv); }
    void SelectTrack(MediaTrack::Kind kind, int id) override { MpvTracks::select(m_mpv, kind, id); }
    void AddSubtitles(const QString& location) override { MpvTracks::add(m_mpv, location); }
    QWidget* pictureWidget() override;

private:
    void requireCore();
    void createCore(const Options& options);
    void destroyCore();
    void setOption(const char* name, const char* value);
    void applySettings();
    void createPictureArea();
    void createPicture(Options::Picture picture);

    void drainEvents();
    void collectEvents();
    void dispatch(const EngineNotice& notice);
    void onPictureChanged();
    void clearView();
    void onEndFile(const EngineNotice& notice);
    void onPropertyChange(const EngineNotice& notice);
    void endReached(bool reached);
    void deliver(const ClipTracker::Report& report);
    void handOver(const std::function<void()>& call);
    void raiseFailure(const QString& text);
    void settle();
    void checkSoundOutput();
    void drawAhead(bool ahead);

    ClipTracker::Restart readRestart() const;
    QSize readPictureSize() const;
    QSize readFilePictureSize() const;
    QString readTitle() const;

    // ClipTracker::Engine
    QString prepare(const QString& location) override;
    std::int64_t open(const QString& target, std::int64_t startMs) override;
    void seek(std::int64_t ms) override;
    void stop() override;
    void setPaused(bool paused) override;
    void armOpenTimer(bool on) override;

    void command(std::initializer_list<const char*> arguments, const QString& what);
    void setFlag(const char* name, bool on);
    void setNumber(const char* name, double value);
    bool readFlag(const char* name, bool fallback) const;
    double readNumber(const char* name, double fallback) const;
    QString readText(const char* name) const;

    // What the user set; kept for an engine made later, and read back until there is one.
    struct Settings {
        double volume = 100;
        bool mute = false;
        bool keepAspect = false;
        bool hardwareDecoding = false;
    };

    Options m_options;
    Settings m_settings;
    PictureDecoder m_decoder;
    mpv_handle* m_mpv = nullptr;       // none until the first clip is loaded
    QPointer<QWidget> m_pictureWidget; // the area the picture is shown in
    PictureView* m_view = nullptr;     // valid while m_pictureWidget is
    PictureControls* m_controls = nullptr;
    QTimer m_openTimer;
    QElapsedTimer m_clock;
    QueuedWakeup m_wakeup;
    ClipTracker m_tracker;
    FrameCounts m_frames;
    QString m_audioOutput;
    std::optional<bool> m_drawingAhead; // unknown until told to the engine

    std::deque<EngineNotice> m_notices;
    std::deque<std::exception_ptr> m_failures;
    int m_dispatchDepth = 0;
};

} // namespace korvel
