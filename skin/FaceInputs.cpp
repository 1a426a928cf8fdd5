#include "skin/FaceInputs.h"

namespace korvel {

FaceInputs FaceInputs::of(const SkinModel& model) {
    FaceInputs inputs;
    inputs.m_upLook = model.MouseUpBitmap.cacheKey();
    inputs.m_downLook = model.MouseDownBitmap.cacheKey();
    inputs.m_numbers = model.NumbersBitmap.cacheKey();
    inputs.m_letters = model.TextBitmap.cacheKey();
    inputs.m_activeTrackBar = model.ActiveTrackBar;
    inputs.m_areas.reserve(model.HotAreas.size());
    for (const HotAreaInfoRec& area : model.HotAreas) {
        // The composer shows the down look for a down toggle or a pressed area.
        inputs.m_areas.push_back({area.rect(), (area.IsToggle && area.Down) || area.Pressed});
    }
    inputs.m_bars.reserve(model.TrackBars.size());
    for (const TrackBarInfoRec& bar : model.TrackBars) {
        inputs.m_bars.push_back({QPoint(bar.Left, bar.Top), bar.Horizontal, bar.ThumbOffset,
                                 bar.ThumbImage.cacheKey(), bar.ActiveThumbImage.cacheKey()});
    }
    inputs.m_displays.reserve(model.Displays.size());
    for (const DisplayInfoRec& display : model.Displays) {
        inputs.m_displays.push_back(
            {display.Left, display.Top, display.Font, display.Mode, display.Text});
    }
    return inputs;
}

} // namespace korvel
