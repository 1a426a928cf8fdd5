#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace korvel {

class MediaControl;
class PlaybackHost;
class PlayListCells;
class SkinEngine;

// The playback window's state and handlers without the window: which clip is loaded and
// whether it came from the list, its end point and position, the repeating seek, the volume
// the engine had before us, and the play history. It drives the player panel's displays and
// sliders by element name and reads the playlist's current row.
class Playback {
public:
    static constexpr int HistorySlots = 10;

    Playback(MediaControl& control, PlaybackHost& host);

    // The panel's skin and the playlist exist only after this window; until they are attached
    // their displays and cells read as empty.
    void attachPanel(SkinEngine* panel) { m_panel = panel; }
    void attachPlayList(PlayListCells* list) { m_list = list; }

    void FormShow(const QString& argument);
    void OpenEntry(bool FromList, QString Location);
    void RealAudio1StateChange(int oldState, int newState);
    void RealAudio1PositionChange(std::int64_t lPos, std::int64_t lLen);
    void SeekBy(bool Repeat, std::int32_t StepMs);
    void RealAudio1PostSeek(std::int64_t lOldTime, std::int64_t lNewTime);
    void StopPlayback();
    void MarkPosition(int Column);
    void RealAudio1KeyDown(int flags, int key);
    void RealAudio1LButtonUp(int flags, int x, int y);
    // The close handler: gives the engine back its earlier volume.
    void FormClose();
    // Sizes the picture from the clip's size and the size slider, unless fixed or full screen.
    void ApplySize();
    // The end point was reached. Only a clip from the list goes on to anything.
    void ClipFinished();
    static std::int64_t TimeTextToMs(const QString& text);

    bool SeekRepeat = false;
    bool PlaylistMode = false;
    bool ResumeFullScreen = false;
    bool HasEndMark = false;
    std::int32_t ClipWidth = 0;
    std::int32_t ClipHeight = 0;
    std::int32_t SeekStep = 0;
    std::int64_t EndPoint = 0;
    std::int64_t CurrentPos = 0;
    // Slots 1..10 are PlayHistory[0..9].
    std::array<QString, HistorySlots> PlayHistory;
    std::uint8_t HistoryNext = 0;
    std::uint8_t SavedVolume = 0;
    std::int8_t RemainingPlays = 0;

private:
    void readSavedVolume();
    void readEndMark();
    void refreshEntryNumber();
    void addToHistory(const QString& source);
    bool isEntry(int row) const;
    int currentRow() const;
    QString currentCell(int column) const;

    MediaControl& m_control;
    PlaybackHost& m_host;
    SkinEngine* m_panel = nullptr;
    PlayListCells* m_list = nullptr;
};

} // namespace korvel
