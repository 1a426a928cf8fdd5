#include "player/PanelDisplays.h"

#include "base/TimeText.h"
#include "skin/PlayerSkinElements.h"
#include "skin/SkinElements.h"

#include <tuple>

namespace korvel {

namespace Panel = PlayerElement;

namespace {

auto heading(const PlaybackState::PanelReadout& r) {
    return std::tie(r.titled, r.title, r.numbered, r.entry, r.entries);
}

} // namespace

QString PanelDisplays::entryNumberText(const PlaybackState::PanelReadout& readout) {
    return readout.numbered
               ? QStringLiteral("No. %1/%2    ").arg(readout.entry).arg(readout.entries)
               : QStringLiteral("No. --/--  ");
}

void PanelDisplays::show(const PlaybackState& before, const PlaybackState& now) {
    const PlaybackState::PanelReadout& was = before.panel;
    const PlaybackState::PanelReadout& is = now.panel;
    if (heading(is) != heading(was)) {
        m_panel.SetDisplayText(Panel::TextNo, entryNumberText(is));
        m_panel.SetDisplayText(Panel::TextTitle, is.title);
    }
    if (is.positionSlider != was.positionSlider && !m_panel.IsTrackBarDragged(Panel::TrackBarPos))
        m_panel.SetTrackBarPosition(Panel::TrackBarPos, is.positionSlider);
    if (is.endMs != was.endMs)
        m_panel.SetDisplayText(Panel::TextTotal, QStringLiteral("/ ") + TimeText::fromMs(is.endMs));
    if (is.reported != was.reported || is.positionMs != was.positionMs)
        m_panel.SetDisplayText(Panel::TextPos, TimeText::fromMs(is.positionMs));
    if (now.volume != before.volume) m_panel.SetTrackBarPosition(Panel::TrackBarVolume, now.volume);
    if (now.mute != before.mute) m_panel.SetButtonState(Panel::ButtonMute, now.mute);
    if (now.size != before.size) m_panel.SetTrackBarPosition(Panel::TrackBarSize, now.size);
    if (now.fix != before.fix) m_panel.SetButtonState(Panel::ButtonFix, now.fix);
    if (now.top != before.top) m_panel.SetButtonState(Panel::ButtonTop, now.top);
}

} // namespace korvel
