#pragma once

#include "app/PlayListModelCells.h"
#include "playback/MediaControl.h"
#include "playback/ImageWin.h"
#include "player/PanelCommands.h"
#include "player/PanelWindows.h"
#include "player/RealPlay1.h"
#include "playlist/PlayList.h"
#include "ui/WindowGroup.h"

#include <memory>

namespace korvel {


// The program's three windows, created in their fixed order (the playback window, shown as
// it is made and playing `argument`; the player panel; the hidden playlist) and wired to
// one another. The one place that knows all three; the program and the window tests use it
// alike.
class PlayerWindows : private PanelWindows {
public:
    PlayerWindows(std::unique_ptr<MediaControl> control, const QString& argument,
                  PlayOrder::Draw draw = PlayOrder::clockDraw);
    ~PlayerWindows() override;

    TForm3& playback() { return m_playback; }
    TForm1& panel() { return m_panel; }
    TForm2& playlist() { return m_playlist; }
    PanelCommands& panelCommands() { return m_panelCommands; }
    WindowGroup& windowGroup() { return m_group; }

private:
    void closePlayer() override;
    void minimizeAll() override;
    void hidePanel() override;
    void showPlayList() override;
    void setTopmost(bool on) override;

    void placePanel();

    TForm3 m_playback;
    TForm1 m_panel;
    TForm2 m_playlist;
    PlayListModelCells m_cells;
    PanelCommands m_panelCommands;
    WindowGroup m_group;
};

} // namespace korvel
