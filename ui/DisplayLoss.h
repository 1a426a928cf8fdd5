#pragma once

namespace korvel {

// The X server the windows are on can go at any moment (the session ends, the server
// crashes). The toolkit then ends the process through exit(), whose handlers (the OpenGL
// driver's among them) may wait for a thread that draws into a window and is stuck for good on
// the dead connection, as may the GUI thread waiting for it. While such a thread lives, the
// process ends at once instead, with the toolkit's status, running no handler: the settings
// are saved as they change, and nothing else is left to keep.
class DisplayLoss {
public:
    // Held by a thread that draws into the windows, for as long as it runs. Made on the GUI
    // thread, once the thread has its drawing set up (the driver's own exit handlers exist by
    // then, and run after this one).
    class DrawingThread {
    public:
        DrawingThread();
        ~DrawingThread();
        DrawingThread(const DrawingThread&) = delete;
        DrawingThread& operator=(const DrawingThread&) = delete;
    };

    // Ends the process at once when the X server's connection is broken; any thread may ask,
    // while a DrawingThread lives.
    static void endIfLost();

    // What must still be done when the toolkit ends the process for a lost display, on its
    // thread, before the process ends at once (none by default; the last one given counts).
    static void beforeEnding(void (*lastWords)());
};

} // namespace korvel
