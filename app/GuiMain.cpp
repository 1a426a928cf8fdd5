// The first instance's whole life: the application, the hand-off receiver, the three windows
// in their fixed order, and the event loop until the playback window closes.

#include "app/HandOffServer.h"
#include "app/PlayerWindows.h"
#include "app/ToolkitPlatform.h"
#include "base/FixedTexts.h"
#include "base/PathBytes.h"
#include "engine/MpvLibrary.h"
#include "engine/MpvMediaControl.h"
#include "mpris/MprisService.h"
#include "playlist/SettingsLocation.h"
#include "skin/DisplayFonts.h"
#include "ui/ErrorBox.h"
#include "ui/KorvelApplication.h"
#include "ui/TerminationSignals.h"
#include "ui/UserLanguage.h"

#include <QDBusConnection>
#include <QEvent>
#include <QFile>
#include <QFontDatabase>
#include <QPointer>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// Long enough for the windows' first painting, which makes and drops as much as their making.
constexpr int StartUpTrimDelayMs = 1000;

// Gives the hand-off receiver the playback window the moment it is shown. From then on a
// second start's clip is taken, also while the window's own start-up still shows an error
// box (for its own clip that failed); what came earlier has waited for this moment.
class PlaybackWindowWatch : public QObject {
public:
    explicit PlaybackWindowWatch(korvel::HandOffServer& server) : m_server(server) {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window =
            event->type() == QEvent::Show ? qobject_cast<korvel::TForm3*>(watched) : nullptr;
        if (window != nullptr) {
            qApp->removeEventFilter(this);
            m_server.setHandler([target = QPointer<korvel::TForm3>(window)](const QString& text) {
                if (target) target->ReceiveHandOff(text);
            });
        }
        return false;
    }

private:
    korvel::HandOffServer& m_server;
};

// The picture path forced by KORVEL_PICTURE (gl or sw), read once at start. Any other value is
// told on stderr and the player goes on with the automatic choice: a mistyped variable should
// not keep the clips from playing.
korvel::MpvMediaControl::Options engineOptions() {
    using Picture = korvel::MpvMediaControl::Options::Picture;
    korvel::MpvMediaControl::Options options;
    const QByteArray asked = qgetenv("KORVEL_PICTURE");
    if (asked == "gl") {
        options.picture = Picture::OpenGl;
    } else if (asked == "sw") {
        options.picture = Picture::Software;
    } else if (!asked.isEmpty()) {
        const QString told = korvel::FixedTexts::PictureVariableUnknown.arg(
            korvel::PathBytes::toText(asked.constData()));
        std::fprintf(stderr, "korvel: %s\n", qUtf8Printable(told));
    }
    // A hardware decoder only where the user asks for one, as the engine's own default.
    options.hardwareDecoder = qgetenv("KORVEL_HWDEC");
    return options;
}

// A clip on the command line is what the user waits for. The engine's library (a few hundred
// libraries, the most of the wait) loads on the other core while the windows are made, from
// just after the application (whose toolkit plugins would otherwise wait for it). The first
// window's show handler then waits for the library; the session bus and the font database,
// which the windows would otherwise read later, are read now, in that shadow.
std::jthread prepareForClip() {
    std::jthread library = korvel::MpvLibrary::preload();
    QDBusConnection::sessionBus();
    (void)QFontDatabase::families();
    return library;
}

// The player from its application's making to its playback window's close.
int playUntilClosed(korvel::KorvelApplication& app, int argc, char** argv,
                    const char* endpointPath) {
    using namespace korvel;
    std::jthread engineLibrary;
    if (argc > 1) engineLibrary = prepareForClip();
    // Every text shown from here on, error boxes of the start included, is in this language.
    const UserLanguage language;
    DisplayFonts::installSubstitutes();
    const QString argument = argc > 1 ? PathBytes::toText(argv[1]) : QString();

    // A termination signal closes the player as its close box would; one that comes while
    // the windows are still being made closes it as soon as they are. An error box open then
    // (a start-up failure) closes too: nobody is there to answer it.
    TForm3* playbackWindow = nullptr;
    bool closeRequested = false;
    TerminationSignals termination([&playbackWindow, &closeRequested] {
        closeRequested = true;
        ErrorBox::stopWaiting();
        if (playbackWindow != nullptr) playbackWindow->close();
    });

    // Without a runtime folder there is no endpoint, and no single instance to hand off to.
    std::unique_ptr<HandOffServer> server;
    std::unique_ptr<PlaybackWindowWatch> watch;
    if (*endpointPath != '\0') {
        server = std::make_unique<HandOffServer>(QFile::decodeName(endpointPath));
        watch = std::make_unique<PlaybackWindowWatch>(*server);
        ErrorBox::run([&server] { server->listen(); });
    }

    // Without a place for the settings the player still runs; it tells why nothing is kept.
    QString settingsPath;
    ErrorBox::run([&settingsPath] { settingsPath = SettingsLocation::forThisProcess(); });
    PlayerWindows windows(std::make_unique<MpvMediaControl>(engineOptions()), argument,
                          PlayOrder::clockDraw, settingsPath);
    MprisService mpris(windows.playback().playback(), windows.commands());
    playbackWindow = &windows.playback();
    // An empty name on the command line names no clip: it is told as a clip that cannot be
    // opened is, and the player runs with nothing to play.
    if (argc > 1 && argument.isEmpty()) ErrorBox::show(FixedTexts::EmptyLocation);
    if (closeRequested) {
        playbackWindow->close();
        return 0;
    }
    // What the start-up made and dropped (the skins' decoding, the settings' and the fonts'
    // reading) goes back to the system once the windows are up: a player that waits for a
    // clip for hours should not hold it.
    QTimer::singleShot(StartUpTrimDelayMs, [] { malloc_trim(0); });
    return app.exec();
}

// The toolkit's Wayland platform (Qt 6.4, as Debian 12 ships it) frees its connection to the
// compositor before it destroys the last of its event queues, which then locks a mutex inside
// the freed memory: now and then the player crashed at its very end, after a clean close.
// Everything of the player's own is closed, written and let go by now; the system takes back
// the rest, as it would after the toolkit's own teardown.
bool toolkitTeardownIsUnsafe() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

extern "C" __attribute__((visibility("default"))) int korvel_gui_main(int argc, char** argv,
                                                                      const char* endpointPath) {
    using namespace korvel;
    // Every engine thread would otherwise grow a memory arena of its own (up to eight per
    // core), and the player's memory would climb in steps as clips start and stop; two
    // arenas serve a player as well.
    mallopt(M_ARENA_MAX, 2);
    // A write to a connection whose other end has gone (the display server at a session's
    // end, a sound server, a later start that gave up) fails, and its writer handles that;
    // the signal such a write also raises would end the player on the spot.
    std::signal(SIGPIPE, SIG_IGN);
    // The toolkit never sees the command line: its first argument is the clip, whatever it
    // looks like ("-reverse" is a file name here as in a later start). It is told only the
    // platform, X where one is there, so that the windows can be placed.
    std::vector<std::string> toolkitArguments{argv[0]};
    if (const auto platform = ToolkitPlatform::choose(::getenv, toolkitArguments)) {
        toolkitArguments.insert(toolkitArguments.end(), {"-platform", *platform});
    }
    std::vector<char*> toolkitArgv;
    for (std::string& argument : toolkitArguments) toolkitArgv.push_back(argument.data());
    toolkitArgv.push_back(nullptr);
    int toolkitArgc = static_cast<int>(toolkitArguments.size());
    if (const auto integration = ToolkitPlatform::glIntegration(::getenv))
        qputenv("QT_XCB_GL_INTEGRATION", integration->c_str());
    // The toolkit asks once, as it starts, whether a screen reader runs, and joins the
    // desktop's accessibility bus only if one does: a reader started later never saw the
    // player. It joins whenever that bus is there, as the desktop's own toolkits do; the bus
    // passes on only what some reader listens for.
    if (!qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    KorvelApplication app(toolkitArgc, toolkitArgv.data());
    const int code = playUntilClosed(app, argc, argv, endpointPath);
    if (toolkitTeardownIsUnsafe()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
