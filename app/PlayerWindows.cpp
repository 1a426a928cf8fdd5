#include "app/PlayerWindows.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "base/ReachablePlace.h"
#include "command/PlayerMenu.h"
#include "skin/PlayerSkinElements.h"
#include "skin/SkinForm.h"
#include "ui/ErrorBox.h"
#include "ui/FreeToolWindow.h"
#include "ui/TaskBarSkip.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace korvel {

namespace {

// Wayland lets no program place its windows nor tell where they stand: what a window's
// position says there is no place on the screen.
SettingsFile::PlacePart placesOfThisPlatform() {
    return QGuiApplication::platformName().startsWith(u"wayland")
               ? SettingsFile::PlacePart::KeepStored
               : SettingsFile::PlacePart::Write;
}

QList<ReachablePlace::Screen> screensNow() {
    QList<ReachablePlace::Screen> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(ReachablePlace::Screen(screen->geometry(), screen->availableGeometry()));
    return screens;
}

// The desktop's data folders, then those of the installed tree the program runs from (its
// share/ beside its bin/), which need not be among them.
QStringList skinFolders() {
    return SkinCatalog::searchFolders(
        {QCoreApplication::applicationDirPath() + QStringLiteral("/../share/korvel/skins")});
}

} // namespace

PlayerWindows::PlayerWindows(std::unique_ptr<MediaControl> control, const QString& argument,
                             PlayOrder::Draw draw, const QString& settingsPath)
    // A relative name on the command line is one in the folder the program started in.
    : m_start(PlayerCommands::opening(argument, QDir::currentPath())),
      m_playback(std::move(control), m_start.clip, std::move(draw)), m_cells(m_playlist.model()),
      m_commands(m_playback.playback(), *this, &m_playlist.model()),
      m_panelCommands(m_commands, m_panel.SkinForm1()->engine()) {
    Playback& playback = m_playback.playback();
    playback.attachPlayList(&m_cells);
    m_playback.attachPanel(&m_panel);
    m_panel.setCommands(&m_panelCommands);
    QObject::connect(&playback.notices(), &PlaybackNotices::changed, &m_panel, &TForm1::showState);
    // A clip may have been handed over and told of before the panel was there (while the
    // start-up's error box was up): the panel starts from what is.
    m_panel.showState(PlaybackState(), playback.state());
    m_playlist.OnPlayFromTop = [this] { m_commands.run({Verb::PlayList}); };
    m_playlist.OnToggles = [this](bool loop, bool shuffle) {
        m_commands.run({Verb::Loop, loop});
        m_commands.run({Verb::Shuffle, shuffle});
    };
    QObject::connect(&playback.notices(), &PlaybackNotices::changed, &m_playlist,
                     [this](const PlaybackState& before, const PlaybackState& now) {
                         if (before.loop != now.loop || before.shuffle != now.shuffle)
                             m_playlist.showToggles(now.loop, now.shuffle);
                     });
    m_playlist.OnReadHistory = [&playback] { return playback.history(); };
    for (QWidget* window : {static_cast<QWidget*>(&m_playback), static_cast<QWidget*>(&m_panel),
                            static_cast<QWidget*>(&m_playlist)}) {
        m_group.add(window);
    }
    // The panel is the program's one task-bar entry.
    TaskBarSkip::keepOff(&m_playback);
    TaskBarSkip::keepOff(&m_playlist);
    FreeToolWindow::keepFree(&m_playback);
    for (QWidget* window : {static_cast<QWidget*>(&m_playback), static_cast<QWidget*>(&m_panel),
                            static_cast<QWidget*>(&m_playlist)}) {
        m_menu.watch(window);
    }
    // The skins are looked for each time the menu opens: one put in place meanwhile is there.
    m_menu.extra = [this] {
        QStringList names;
        for (const SkinCatalog::Entry& found : skins()) names.append(found.name);
        return PlayerMenu::skins(names, m_skin);
    };
    m_playlist.setLastFolder(&m_lastFolder);
    m_playback.OnOpen = [this](const QString& location) {
        m_commands.run({Verb::Open, 0, location});
    };
    m_settingsPath = settingsPath;
    readSettings();
    m_panel.show();
    keepSettings();
    if (!m_start.list.isEmpty()) ErrorBox::run([this] { m_commands.open(m_start); });
    m_playback.OnClose = [this] { saveSettings(); };
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &m_playback,
                     [this] { ErrorBox::run([this] { saveSettings(); }); });
}

PlayerWindows::~PlayerWindows() {
    m_playback.OnClose = nullptr;
    m_playback.OnOpen = nullptr;
    // The list goes before the playback window that reads it.
    m_playlist.OnPlayFromTop = nullptr;
    m_playlist.OnToggles = nullptr;
    m_playlist.OnReadHistory = nullptr;
    m_playlist.setLastFolder(nullptr);
    m_playback.playback().attachPlayList(nullptr);
}

// The settings file places the three windows, sets the fixed size and fills the list; it is
// read also when the list's skin failed. A file that stands but cannot be read is told, and
// the stored list is then left as it is at the close.
void PlayerWindows::readSettings() {
    if (m_settingsPath.isEmpty()) return;
    const SettingsFile::ReadResult result = SettingsFile::read(m_settingsPath);
    m_listPart = result.listPart();
    ErrorBox::run([&] { applySettings(result.settings); });
    if (!result.error.isEmpty()) ErrorBox::show(result.error);
    if (!result.notice.isEmpty()) ErrorBox::show(result.notice);
}

// A remembered place the user could not reach on today's screens (one that is gone, or
// smaller) becomes the nearest place on a screen, clear of its task bars; every other is kept
// to the pixel.
void PlayerWindows::applySettings(const SettingsData& settings) {
    // The face's size is the skin's: it is taken before the panel is placed.
    startWithSkin(settings.skin);
    const QList<ReachablePlace::Screen> screens = screensNow();
    const QSize playbackSize = settings.windowFix ? settings.clientSize : m_playback.size();
    m_playback.placeFrameAt(
        ReachablePlace::caption(playbackSize).placeFor(settings.imageWindowPos, screens));
    m_playlist.move(
        ReachablePlace::caption(m_playlist.size()).placeFor(settings.playListPos, screens));
    m_panel.move(ReachablePlace::face(m_panel.size()).placeFor(settings.playerPos, screens));
    m_commands.run({Verb::Fix, settings.windowFix});
    m_lastFolder.restore(settings.openFolder);
    if (settings.windowFix) m_playback.resizeClient(settings.clientSize);
    try {
        SettingsFile::loadRows(settings.rows, m_playlist.model());
    } catch (...) {
        // A list that cannot be taken in is not written over at the close.
        m_listPart = SettingsFile::ListPart::KeepStored;
        throw;
    }
}

SettingsData PlayerWindows::currentSettings() const {
    const PlaybackState state = m_playback.playback().state();
    SettingsData settings;
    settings.imageWindowPos = m_playback.pos();
    settings.playListPos = m_playlist.pos();
    settings.playerPos = m_panel.pos();
    settings.windowFix = state.fix;
    settings.clientSize = m_playback.size();
    settings.scrSize = state.size;
    settings.volume = state.volume;
    settings.openFolder = m_lastFolder.stored();
    settings.skin = m_skin;
    settings.rows = SettingsFile::storedRows(m_playlist.model());
    return settings;
}

void PlayerWindows::saveSettings() {
    if (m_settingsPath.isEmpty() || m_saved) return;
    m_saved = true;
    m_keeper.stop();
    m_keeper.saveNow();
}

// The display server may end before the player hears of it (a logout, a compositor that
// crashed), and take the process with it: the list, the places and the fixed size are saved
// as they change, and when the session manager asks, besides the save at the close.
void PlayerWindows::keepSettings() {
    if (m_settingsPath.isEmpty()) return;
    m_keeper.start();
    for (QWidget* window : {static_cast<QWidget*>(&m_playback), static_cast<QWidget*>(&m_panel),
                            static_cast<QWidget*>(&m_playlist)}) {
        m_keeper.watch(window);
    }
    const auto changed = [this] { m_keeper.changed(); };
    PlayListModel& model = m_playlist.model();
    QObject::connect(&model, &PlayListModel::cellChanged, &m_keeper, changed);
    QObject::connect(&model, &PlayListModel::rowCountChanged, &m_keeper, changed);
    QObject::connect(&m_panel, &TForm1::buttonReleased, &m_keeper, changed);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &m_keeper,
                     [this] { ErrorBox::run([this] { m_keeper.saveNow(); }); });
}

void PlayerWindows::writeSettings(const SettingsData& settings) const {
    SettingsFile::write(m_settingsPath, settings, m_listPart, placesOfThisPlatform());
}

void PlayerWindows::closePlayer() { m_playback.close(); }

void PlayerWindows::minimizeAll() { m_group.minimizeAll(); }

// The keyboard goes on to the playback window, where any key brings the panel back; left with
// the hidden panel it would be nowhere in the player, and only the pointer could reach it.
void PlayerWindows::hidePanel() {
    const bool hadKeyboard = m_panel.isActiveWindow();
    m_panel.hide();
    if (!hadKeyboard) return;
    m_playback.raise();
    m_playback.activateWindow();
}

void PlayerWindows::showPlayList() {
    m_playlist.show();
    m_playlist.raise();
    m_playlist.activateWindow();
}

PlayerMenu::Input PlayerWindows::menuInput() const {
    const Playback& playback = m_playback.playback();
    return {playback.state(), playback.tracks()};
}

// Both windows' skins are read whole before either is taken: a skin whose list part is broken
// leaves the panel as it was too.
void PlayerWindows::applySkin(const QString& name) {
    SkinSource source;
    if (!name.isEmpty()) {
        const std::optional<SkinCatalog::Entry> found = SkinCatalog::find(name, skinFolders());
        if (!found) throw KorvelError(FixedTexts::SkinNotFound.arg(name));
        source = SkinSource::folder(found->folder);
    }
    TSkinForm* panel = m_panel.SkinForm1();
    TSkinForm* list = m_playlist.SkinForm1();
    const std::unique_ptr<SkinEngine> panelSkin =
        panel->prepareSkin(source, QStringLiteral("Skin"));
    const std::unique_ptr<SkinEngine> listSkin =
        list->prepareSkin(source, QStringLiteral("ListSkin"));
    panel->adoptSkin(*panelSkin);
    list->adoptSkin(*listSkin);
    m_skin = name;
    keepReachable();
    m_keeper.changed();
}

std::vector<SkinCatalog::Entry> PlayerWindows::skins() { return SkinCatalog::list(skinFolders()); }

void PlayerWindows::startWithSkin(const QString& name) {
    if (name.isEmpty()) return;
    if (!SkinCatalog::find(name, skinFolders())) {
        ErrorBox::show(FixedTexts::SkinGone.arg(name));
        return;
    }
    ErrorBox::run([&] { applySkin(name); });
}

void PlayerWindows::keepReachable() {
    const QList<ReachablePlace::Screen> screens = screensNow();
    m_panel.move(ReachablePlace::face(m_panel.size()).placeFor(m_panel.pos(), screens));
    m_playlist.move(ReachablePlace::caption(m_playlist.size()).placeFor(m_playlist.pos(), screens));
}

void PlayerWindows::raise() {
    for (QWidget* window : {static_cast<QWidget*>(&m_playback), static_cast<QWidget*>(&m_panel)}) {
        if (window->isMinimized()) window->showNormal();
        window->show();
        window->raise();
    }
    m_playback.activateWindow();
}

} // namespace korvel
