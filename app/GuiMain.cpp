// The first instance's whole life: the application, its three windows in their fixed
// order, the hand-off receiver, and the event loop until the playback window closes.

#include "app/HandOffServer.h"
#include "app/PlayerWindows.h"
#include "playback/MpvMediaControl.h"
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

    PlayerWindows windows(std::make_unique<MpvMediaControl>(), argument);
    TForm3& playback = windows.playback();

    // A termination signal closes the player as its close box would.
    TerminationSignals termination([&playback] { playback.close(); });

    HandOffServer server(QString::fromLocal8Bit(endpointPath),
                         [&playback](const QString& text) { playback.ReceiveHandOff(text); });
    ErrorBox::run([&server] { server.listen(); });
    return app.exec();
}
