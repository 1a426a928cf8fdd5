#include "skin/SkinModel.h"

#include <algorithm>

namespace korvel {

namespace {

template <typename Table>
int findByID(const Table& table, QStringView id) {
    const auto it = std::find_if(table.begin(), table.end(),
                                 [id](const auto& element) { return element.ID == id; });
    return it == table.end() ? -1 : int(it - table.begin());
}

} // namespace

QFont DisplayFont::toQFont() const {
    QFont font(FaceName);
    // A negative size is a pixel height, as the skins' original format reads it.
    if (Size > 0) font.setPointSize(Size);
    if (Size < 0) font.setPixelSize(-Size);
    font.setBold(Bold);
    font.setItalic(Italic);
    return font;
}

QColor DisplayFont::toQColor() const {
    return QColor(int(Color & 0xFF), int((Color >> 8) & 0xFF), int((Color >> 16) & 0xFF));
}

void PlaceThumb(TrackBarInfoRec& trackBar) {
    if (trackBar.isInert()) {
        trackBar.Position = 0;
        trackBar.ThumbOffset = 0;
        return;
    }
    trackBar.ThumbOffset = trackBar.travel() * trackBar.Position / 100;
}

void UpdateThumbOffset(TrackBarInfoRec& trackBar) {
    if (trackBar.Position < trackBar.MinPosition) trackBar.Position = trackBar.MinPosition;
    if (trackBar.Position > trackBar.MaxPosition) trackBar.Position = trackBar.MaxPosition;
    trackBar.Position = std::uint8_t(trackBar.Position % 101);
    PlaceThumb(trackBar);
}

void CarryElementStates(const SkinModel& from, SkinModel& to) {
    for (std::size_t i = 0; i < to.HotAreas.size(); ++i) {
        HotAreaInfoRec& area = to.HotAreas[i];
        const int old = from.FindHotArea(area.ID);
        if (old < 0 || !area.IsToggle) continue;
        area.Down = from.HotAreas[std::size_t(old)].Down;
        const int group = to.findGroup(area.RadioGroup);
        if (group >= 0 && area.Down) to.GroupDown[group] = QString::number(i);
    }
    for (TrackBarInfoRec& bar : to.TrackBars) {
        const int old = from.findTrackBar(bar.ID);
        if (old < 0) continue;
        bar.Position = from.TrackBars[std::size_t(old)].Position;
        PlaceThumb(bar);
    }
    for (DisplayInfoRec& display : to.Displays) {
        if (const int old = from.findDisplay(display.ID); old >= 0)
            display.Text = from.Displays[std::size_t(old)].Text;
    }
}

int SkinModel::FindHotArea(QStringView id) const { return findByID(HotAreas, id); }
int SkinModel::findDisplay(QStringView id) const { return findByID(Displays, id); }
int SkinModel::findTrackBar(QStringView id) const { return findByID(TrackBars, id); }

int SkinModel::findGroup(QStringView name) const {
    for (int g = 0; g < GroupNames.size(); ++g) {
        if (GroupNames[g].compare(name, Qt::CaseInsensitive) == 0) return g;
    }
    return -1;
}

} // namespace korvel
