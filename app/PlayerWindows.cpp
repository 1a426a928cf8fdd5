#include "app/PlayerWindows.h"

#include "skin/SkinForm.h"

#include <algorithm>

namespace korvel {

PlayerWindows::PlayerWindows(std::unique_ptr<MediaControl> control, const QString& argument,
                             PlayOrder::Draw draw)
    : m_playback(std::move(control), argument, std::move(draw)),
      m_cells(m_playlist.model()),
      m_panelCommands(m_playback.playback(), m_panel.SkinForm1()->engine(), *this) {
    Playback& playback = m_playback.playback();
    playback.attachPanel(&m_panel.SkinForm1()->engine());
    playback.attachPlayList(&m_cells, &m_playlist.SkinForm1()->engine());
    m_playback.attachPanel(&m_panel);
    m_panel.setCommands(&m_panelCommands);
    m_playlist.OnPlayFromTop = [&playback] { playback.PlayFromTop(); };
    QObject::connect(&m_panel, &TForm1::filesDropped, &m_playback, &TForm3::DropFiles);
    for (QWidget* window : {static_cast<QWidget*>(&m_playback), static_cast<QWidget*>(&m_panel),
                            static_cast<QWidget*>(&m_playlist)}) {
        m_group.add(window);
    }
    placePanel();
    m_panel.show();
}

PlayerWindows::~PlayerWindows() {
    // The list goes before the playback window that reads it.
    m_playlist.OnPlayFromTop = nullptr;
    m_playback.playback().attachPlayList(nullptr);
    m_playback.playback().attachPanel(nullptr);
}

// Until the settings file places it, the panel sits left of the playback window, out of the
// way of a picture that grows to the right and down.
void PlayerWindows::placePanel() {
    const int gap = 16;
    const int left = std::max(0, m_playback.x() - m_panel.width() - gap);
    m_panel.move(left, m_playback.y());
}

void PlayerWindows::closePlayer() { m_playback.close(); }

void PlayerWindows::minimizeAll() { m_group.minimizeAll(); }

void PlayerWindows::hidePanel() { m_panel.hide(); }

void PlayerWindows::showPlayList() {
    m_playlist.show();
    m_playlist.raise();
    m_playlist.activateWindow();
}

void PlayerWindows::setTopmost(bool on) { m_playback.SetTopmost(on); }

} // namespace korvel
