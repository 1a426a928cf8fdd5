#pragma once

#include "app/PlayListModelCells.h"
#include "app/SettingsKeeper.h"
#include "command/DeskWindows.h"
#include "command/PlayerCommands.h"
#include "engine/MediaControl.h"
#include "playback/ImageWin.h"
#include "player/MenuDoor.h"
#include "player/OpenDialogs.h"
#include "player/PanelCommands.h"
#include "player/RealPlay1.h"
#include "playlist/LastFolder.h"
#include "playlist/PlayList.h"
#include "playlist/SettingsFile.h"
#include "skin/SkinCatalog.h"
#include "ui/ToolWindowOwner.h"
#include "ui/WindowGroup.h"

#include <memory>

namespace korvel {

// The program's three windows, created in their fixed order (the playback window, shown as
// it is made and playing `argument`; the player panel; the hidden playlist) and wired to
// one another. Whether `argument` is a clip or another player's list is decided once: a clip
// plays as the playback window shows, a list joins the playlist once the stored list is in,
// and plays from its first new entry. The one place that knows all three; the
// program and the window tests use it alike.
class PlayerWindows : private DeskWindows {
public:
    // `settingsPath` is the settings file the windows are placed and filled from now and
    // saved to when the playback window closes; empty for none (tests).
    PlayerWindows(std::unique_ptr<MediaControl> control, const QString& argument,
                  PlayOrder::Draw draw = PlayOrder::clockDraw,
                  const QString& settingsPath = QString());
    ~PlayerWindows() override;

    TForm3& playback() { return m_playback; }
    TForm1& panel() { return m_panel; }
    TForm2& playlist() { return m_playlist; }
    // The player's verbs, for the doors made outside (the desktop's media controls).
    CommandTaker& commands() { return m_commands; }
    // The player's menu, for the tests and for more entries.
    MenuDoor& menu() { return m_menu; }
    // The skins the verb Skin can give (besides the built-in one, the empty name), found
    // afresh at each call, and the name of the one in use.
    static std::vector<SkinCatalog::Entry> skins();
    const QString& skin() const { return m_skin; }

private:
    void closePlayer() override;
    void minimizeAll() override;
    void hidePanel() override;
    void showPlayList() override;
    void raise() override;
    void applySkin(const QString& name) override;

    // The skin stored at the close before: a skin that is gone, or cannot be loaded, is told
    // once and the built-in one stays (and is what the next close stores).
    void startWithSkin(const QString& name);
    // A window whose face changed size comes where the user can reach it on today's screens.
    void keepReachable();

    PlayerMenu::Input menuInput() const;
    void readSettings();
    void applySettings(const SettingsData& settings);
    SettingsData currentSettings() const;
    // Once per run: at the close of the playback window, or when the application quits
    // without it (the session ends). Changes are saved as they come besides (keepSettings).
    void saveSettings();
    void keepSettings();
    void writeSettings(const SettingsData& settings) const;

    // What the command line opens, decided before the windows are made.
    const PlayerCommands::Opening m_start;
    TForm3 m_playback;
    TForm1 m_panel;
    TForm2 m_playlist;
    PlayListModelCells m_cells;
    PlayerCommands m_commands;
    PanelCommands m_panelCommands;
    LastFolder m_lastFolder;
    OpenDialogs m_dialogs{m_lastFolder};
    // The player's menu on each of the three windows.
    MenuDoor m_menu{m_commands, m_dialogs, [this] { return menuInput(); }};
    WindowGroup m_group;
    // The full-screen picture covers the list on every window manager.
    ToolWindowOwner m_listOwner{&m_playback, &m_playlist, &m_panel};
    QString m_settingsPath;
    // The name of the skin in use, empty for the built-in one.
    QString m_skin;
    SettingsFile::ListPart m_listPart = SettingsFile::ListPart::Write;
    bool m_saved = false;
    SettingsKeeper m_keeper{[this] { return currentSettings(); },
                            [this](const SettingsData& settings) { writeSettings(settings); }};
};

} // namespace korvel
