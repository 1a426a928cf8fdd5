#include "app/SettingsKeeper.h"

#include "base/KorvelError.h"
#include "ui/ErrorBox.h"

#include "ui/DisplayLoss.h"

#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace korvel {

namespace {

// The keeper that saves changes, for the exit handler.
SettingsKeeper* running = nullptr;

} // namespace

SettingsKeeper::SettingsKeeper(std::function<SettingsData()> current,
                               std::function<void(const SettingsData&)> save)
    : m_current(std::move(current)), m_save(std::move(save)) {
    m_rest.setSingleShot(true);
    m_rest.setInterval(RestMs);
    connect(&m_rest, &QTimer::timeout, this, [this] { saveChanges(); });
}

SettingsKeeper::~SettingsKeeper() {
    if (running == this) running = nullptr;
}

void SettingsKeeper::start() {
    m_saved = m_current();
    m_running = true;
    running = this;
    static std::once_flag registered;
    std::call_once(registered, [] {
        std::atexit(&SettingsKeeper::saveAtExit);
        DisplayLoss::beforeEnding(&SettingsKeeper::saveAtExit);
    });
}

void SettingsKeeper::stop() {
    m_running = false;
    m_rest.stop();
    if (running == this) running = nullptr;
}

void SettingsKeeper::saveAtExit() {
    SettingsKeeper* keeper = std::exchange(running, nullptr);
    if (!keeper || !keeper->m_rest.isActive()) return;
    try {
        keeper->m_save(keeper->m_current());
    } catch (const KorvelError& error) {
        std::fprintf(stderr, "korvel: %s\n", qUtf8Printable(error.text()));
    }
}

void SettingsKeeper::watch(QWidget* window) { window->installEventFilter(this); }

bool SettingsKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) changed();
    return QObject::eventFilter(watched, event);
}

void SettingsKeeper::changed() {
    if (m_running) m_rest.start();
}

void SettingsKeeper::saveNow() {
    const SettingsData now = m_current();
    m_save(now);
    m_saved = now;
    m_toldFailure.clear();
}

void SettingsKeeper::saveChanges() {
    if (!m_running) return;
    const SettingsData now = m_current();
    if (now == m_saved) return;
    try {
        m_save(now);
        m_saved = now;
        m_toldFailure.clear();
    } catch (const KorvelError& error) {
        if (error.text() == m_toldFailure) return;
        m_toldFailure = error.text();
        ErrorBox::show(error.text());
    }
}

} // namespace korvel
