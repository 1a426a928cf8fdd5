// The first instance's whole life: the application, its three windows in their fixed
// order, the hand-off receiver, and the event loop until the playback window closes.

#include "app/ErrorBox.h"
#include "app/HandOffServer.h"
#include "app/KorvelApplication.h"
#include "app/TerminationSignals.h"
#include "playback/ImageWin.h"
#include "playback/MpvMediaControl.h"
#include "playback/PlayListModelCells.h"
#include "player/RealPlay1.h"
#include "playlist/PlayList.h"
#include "skin/DisplayFonts.h"

#include <algorithm>


namespace {

// Until the settings file places them, the panel sits left of the playback window, out of the
// way of a picture that grows to the right and down.
void placeWindows(korvel::TForm3& playback, korvel::TForm1& panel) {
    const int gap = 16;
    const int left = std::max(0, playback.x() - panel.width() - gap);
    panel.move(left, playback.y());
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
korvel_gui_main(int argc, char** argv, const char* endpointPath) {
    using namespace korvel;
    KorvelApplication app(argc, argv);
    DisplayFonts::installSubstitutes();
    const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    TForm3 playback(std::make_unique<MpvMediaControl>(), argument);
    TForm1 panel;
    TForm2 playlist;
    PlayListModelCells cells(playlist.model());
    playback.attachWindows(&panel, &playlist, &cells);
    QObject::connect(&panel, &TForm1::commandReleased, &playback, &TForm3::PanelCommand);
    QObject::connect(&panel, &TForm1::trackBarMoved, &playback, &TForm3::PanelTrackBar);
    QObject::connect(&panel, &TForm1::filesDropped, &playback, &TForm3::DropFiles);
    placeWindows(playback, panel);
    panel.show();

    // A termination signal closes the player as its close box would.
    TerminationSignals termination([&playback] { playback.close(); });

    HandOffServer server(QString::fromLocal8Bit(endpointPath),
                         [&playback](const QString& text) { playback.ReceiveHandOff(text); });
    ErrorBox::run([&server] { server.listen(); });
    return app.exec();
}
