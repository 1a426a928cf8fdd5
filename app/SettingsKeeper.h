#pragma once

#include "playlist/SettingsData.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class QWidget;

namespace korvel {

// Keeps the settings file up to date while the player runs, so that what a run changed
// survives whatever ends first: the player, or the display server and the session under it,
// which may take the process down before it hears of it. A change is saved once changes have
// rested a moment (a window dragged, a list edited key by key, is saved once), and only when
// what is kept differs from what was saved last. The timer runs on the user-interface thread,
// away from the paths that must answer at once.
class SettingsKeeper : public QObject {
    Q_OBJECT

public:
    // How long changes rest before they are saved.
    static constexpr int RestMs = 1500;

    // `current` reads what is kept now; `save` writes it, raising when it cannot.
    SettingsKeeper(std::function<SettingsData()> current,
                   std::function<void(const SettingsData&)> save);

    // From now on changes are saved; what is kept now counts as saved (it is what the file
    // gave, or what a start without one has).
    void start();
    // No more saves after changes (the last save has been made).
    void stop();
    // Changes of the window's place or size are changes.
    void watch(QWidget* window);
    // Something kept may have changed.
    void changed();
    // Saves what is kept now, whether or not it changed; raises as `save` does.
    void saveNow();
    ~SettingsKeeper() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void saveChanges();
    // The toolkit ends the process by exit() when the display server goes: a change still
    // resting is saved then, on the way out, where no error box can be shown.
    static void saveAtExit();

    std::function<SettingsData()> m_current;
    std::function<void(const SettingsData&)> m_save;
    QTimer m_rest;
    std::optional<SettingsData> m_saved;
    bool m_running = false;
    // A save that fails after a change is told once, not at every change after it.
    QString m_toldFailure;
};

} // namespace korvel
