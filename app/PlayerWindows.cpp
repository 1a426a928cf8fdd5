#include "app/PlayerWindows.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"
#include "base/ReachablePlace.h"
#include "playlist/DroppedFiles.h"
#include "playlist/ListFile.h"
#include "playlist/ListLocation.h"
#include "skin/PlayerSkinElements.h"
#include "skin/SkinForm.h"
#include "ui/ErrorBox.h"
#include "ui/TaskBarSkip.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace korvel {

namespace {

// The local file a location names when it is a list of another player's; else empty.
QString foreignList(const QString& location) {
    const QString path = ListLocation::localFile(location);
    return ListFile::IsForeignList(DroppedFiles::kindOf(path)) ? path : QString();
}

// A relative name on the command line is one in the folder the program started in.
QString absoluteArgument(const QString& argument) {
    if (argument.isEmpty() || argument.startsWith(u'/') || argument.contains(u"://"))
        return argument;
    return QDir::currentPath() + u'/' + argument;
}

// Wayland lets no program place its windows nor tell where they stand: what a window's
// position says there is no place on the screen.
SettingsFile::PlacePart placesOfThisPlatform() {
    return QGuiApplication::platformName().startsWith(u"wayland")
               ? SettingsFile::PlacePart::KeepStored
               : SettingsFile::PlacePart::Write;
}

} // namespace

PlayerWindows::PlayerWindows(std::unique_ptr<MediaControl> control, const QString& argument,
                             PlayOrder::Draw draw, const QString& settingsPath)
    : m_playback(std::move(control),
                 foreignList(absoluteArgument(argument)).isEmpty() ? argument : QString(),
                 std::move(draw)),
      m_cells(m_playlist.model()), m_commands(m_playback.playback(), *this, &m_playlist.model()),
      m_panelCommands(m_commands, m_panel.SkinForm1()->engine()) {
    Playback& playback = m_playback.playback();
    playback.attachPanel(&m_panel.SkinForm1()->engine());
    playback.attachPlayList(&m_cells, &m_playlist.SkinForm1()->engine());
    m_playback.attachPanel(&m_panel);
    m_panel.setCommands(&m_panelCommands);
    QObject::connect(&playback.notices(), &PlaybackNotices::changed, &m_panel, &TForm1::showState);
    // A clip may have been handed over and told of before the panel was there (while the
    // start-up's error box was up): the panel starts from what is.
    m_panel.showState(PlaybackState(), playback.state());
    m_playlist.OnPlayFromTop = [&playback] { playback.PlayFromTop(); };
    m_playlist.OnReadHistory = [&playback] { return playback.history(); };
    PlayListModel& model = m_playlist.model();
    QObject::connect(&model, &PlayListModel::cellChanged, &m_playback,
                     [this] { publishListChanges(); });
    QObject::connect(&model, &PlayListModel::rowCountChanged, &m_playback,
                     [this] { publishListChanges(); });
    QObject::connect(&model, &PlayListModel::cursorChanged, &m_playback,
                     [this] { publishListChanges(); });
    QObject::connect(&m_playlist, &TForm2::buttonReleased, &m_playback,
                     [this] { publishListChanges(); });
    // Queued: the drop on the panel has ended before the clip opens or a failure is shown.
    QObject::connect(&m_panel, &TForm1::filesDropped, &m_playback, &TForm3::DropFiles,
                     Qt::QueuedConnection);
    for (QWidget* window : {static_cast<QWidget*>(&m_playback), static_cast<QWidget*>(&m_panel),
                            static_cast<QWidget*>(&m_playlist)}) {
        m_group.add(window);
    }
    // The panel is the program's one task-bar entry.
    TaskBarSkip::keepOff(&m_playback);
    TaskBarSkip::keepOff(&m_playlist);
    m_playback.OnOpenList = [this](const QString& location) { return openList(location); };
    m_settingsPath = settingsPath;
    readSettings();
    m_panel.show();
    keepSettings();
    ErrorBox::run([this, &argument] { openList(absoluteArgument(argument)); });
    m_playback.OnClose = [this] { saveSettings(); };
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &m_playback,
                     [this] { ErrorBox::run([this] { saveSettings(); }); });
}

PlayerWindows::~PlayerWindows() {
    m_playback.OnClose = nullptr;
    m_playback.OnOpenList = nullptr;
    // The list goes before the playback window that reads it.
    m_playlist.OnPlayFromTop = nullptr;
    m_playlist.OnReadHistory = nullptr;
    m_playback.playback().attachPlayList(nullptr);
    m_playback.playback().attachPanel(nullptr);
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
    QList<ReachablePlace::Screen> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(ReachablePlace::Screen(screen->geometry(), screen->availableGeometry()));
    const QSize playbackSize = settings.windowFix ? settings.clientSize : m_playback.size();
    m_playback.placeFrameAt(
        ReachablePlace::caption(playbackSize).placeFor(settings.imageWindowPos, screens));
    m_playlist.move(
        ReachablePlace::caption(m_playlist.size()).placeFor(settings.playListPos, screens));
    m_panel.move(ReachablePlace::face(m_panel.size()).placeFor(settings.playerPos, screens));
    m_panel.SkinForm1()->SetButtonState(PlayerElement::ButtonFix, settings.windowFix);
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
    const SkinElements& panel = m_panel.SkinForm1()->engine();
    SettingsData settings;
    settings.imageWindowPos = m_playback.pos();
    settings.playListPos = m_playlist.pos();
    settings.playerPos = m_panel.pos();
    settings.windowFix = panel.GetButtonState(PlayerElement::ButtonFix);
    settings.clientSize = m_playback.size();
    const PlaybackState state = m_playback.playback().state();
    settings.scrSize = state.size;
    settings.volume = state.volume;
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

bool PlayerWindows::openList(const QString& location) {
    const QString path = foreignList(location);
    if (path.isEmpty()) return false;
    const ListFile::Appended appended = ListFile::Append(path, m_playlist.model());
    if (appended.firstRow > 0) m_playback.playback().PlayFromRow(appended.firstRow);
    if (!appended.problem.isEmpty()) throw KorvelError(appended.problem);
    return true;
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

void PlayerWindows::setTopmost(bool on) { m_playback.SetTopmost(on); }

void PlayerWindows::publishListChanges() {
    if (std::exchange(m_listPublishDue, true)) return;
    QMetaObject::invokeMethod(
        &m_playback,
        [this] {
            m_listPublishDue = false;
            ErrorBox::run([this] { m_playback.playback().publish(); });
        },
        Qt::QueuedConnection);
}

void PlayerWindows::pressPanelButton(QStringView id) {
    m_panelCommands.SkinForm1MouseUpNotify(id, Qt::LeftButton);
}

// The panel's slider shows the volume once the command made it the state.
void PlayerWindows::setVolumeSlider(int position) {
    m_panelCommands.SkinForm1TrackBarNotify(PlayerElement::TrackBarVolume, position);
}

// As a click on the list's toggle: the play order reads it at its next step.
void PlayerWindows::setListButton(QStringView id, bool down) {
    TSkinForm* face = m_playlist.SkinForm1();
    face->SetButtonState(id, down);
    face->update();
    m_playback.playback().publish();
}

// An empty location names no clip: the caller is told so, and what plays goes on.
void PlayerWindows::openLocation(const QString& location) {
    if (location.isEmpty()) throw KorvelError(FixedTexts::EmptyLocation);
    m_playback.ReceiveHandOff(location);
}

void PlayerWindows::raise() {
    for (QWidget* window : {static_cast<QWidget*>(&m_playback), static_cast<QWidget*>(&m_panel)}) {
        if (window->isMinimized()) window->showNormal();
        window->show();
        window->raise();
    }
    m_playback.activateWindow();
}

// Closing the playback window ends the program; the caller gets its answer first.
void PlayerWindows::quit() {
    QMetaObject::invokeMethod(
        &m_playback, [this] { m_playback.close(); }, Qt::QueuedConnection);
}

} // namespace korvel
