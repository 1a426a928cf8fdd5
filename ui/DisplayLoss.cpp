#include "ui/DisplayLoss.h"

#include "base/FixedTexts.h"

#include <QGuiApplication>
#include <QLoggingCategory>

#include <xcb/xcb.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace korvel {

namespace {

Q_LOGGING_CATEGORY(lcDisplay, "korvel.display", QtWarningMsg)

// The toolkit's status for a display that went away.
constexpr int LostStatus = 1;

std::atomic<int> drawingThreads{0};
std::atomic<void (*)()> lastWords{nullptr};
// Taken on the GUI thread while the toolkit's connection exists; read from any thread.
std::atomic<xcb_connection_t*> watched{nullptr};

[[noreturn]] void endNow() {
    std::fflush(nullptr);
    std::_Exit(LostStatus);
}

// Runs first among the exit handlers: registered after the driver's.
void atExit() {
    if (drawingThreads.load() == 0) return;
    if (auto* words = lastWords.load()) words();
    endNow();
}

} // namespace

DisplayLoss::DrawingThread::DrawingThread() {
    static std::once_flag registered;
    std::call_once(registered, [] { std::atexit(&atExit); });
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && QGuiApplication::platformName() == u"xcb") watched.store(x11->connection());
    ++drawingThreads;
}

DisplayLoss::DrawingThread::~DrawingThread() { --drawingThreads; }

void DisplayLoss::beforeEnding(void (*words)()) { lastWords.store(words); }

void DisplayLoss::endIfLost() {
    xcb_connection_t* connection = watched.load();
    if (drawingThreads.load() == 0 || !connection || !xcb_connection_has_error(connection)) return;
    qCWarning(lcDisplay).noquote() << FixedTexts::DisplayGone.text();
    endNow();
}

} // namespace korvel
