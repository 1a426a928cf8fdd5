// The first instance's whole life: the application, its three windows in their fixed
// order, the hand-off receiver, and the event loop until the playback window closes.

#include "app/HandOffServer.h"
#include "app/PlayerWindows.h"
#include "playback/MpvMediaControl.h"
#include "playlist/SettingsLocation.h"
#include "skin/DisplayFonts.h"
#include "ui/ErrorBox.h"
#include "ui/KorvelApplication.h"
#include "ui/TerminationSignals.h"

extern "C" __attribute__((visibility("default"))) int
korvel_gui_main(int argc, char** argv, const char* endpointPath) {
    using namespace korvel;
    KorvelApplication app(argc, argv);
    DisplayFonts::installSubstitutes();
    const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    // Without a place for the settings the player still runs; it tells why nothing is kept.
    QString settingsPath;
    ErrorBox::run([&settingsPath] { settingsPath = SettingsLocation::forThisProcess(); });
    PlayerWindows windows(std::make_unique<MpvMediaControl>(), argument, PlayOrder::clockDraw,
                          settingsPath);
    TForm3& playback = windows.playback();

    // A termination signal closes the player as its close box would.
    TerminationSignals termination([&playback] { playback.close(); });

    HandOffServer server(QString::fromLocal8Bit(endpointPath),
                         [&playback](const QString& text) { playback.ReceiveHandOff(text); });
    ErrorBox::run([&server] { server.listen(); });
    return app.exec();
}
