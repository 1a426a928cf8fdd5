#include "tools/skinart/PlayerFace.h"

#include "skin/PlayerSkinElements.h"
#include "tools/skinart/ArtStyle.h"
#include "tools/skinart/FaceCommon.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace korvel::skinart {

namespace {

namespace Panel = PlayerElement;

using Chrome = ButtonArt::Chrome;

ButtonArt icon(Glyph glyph, Glyph litGlyph = Glyph::None) {
    return {Chrome::Key, glyph, litGlyph, {}, 8, false};
}

ButtonArt tab(Glyph glyph) { return {Chrome::Tab, glyph, Glyph::None, {}, 8, false}; }

ButtonArt label(const char* text) {
    return {Chrome::Key, Glyph::None, Glyph::None, QString::fromLatin1(text), 8, false};
}

ButtonArt toggle(const char* text) {
    return {Chrome::Key, Glyph::None, Glyph::None, QString::fromLatin1(text), 8, true};
}

const ButtonArtTable& playerButtonArt() {
    static const ButtonArtTable table = {
        {Panel::ButtonPlay.toString(), icon(Glyph::Play)},
        {Panel::ButtonPause.toString(), icon(Glyph::Pause)},
        {Panel::ButtonStop.toString(), icon(Glyph::Stop)},
        {Panel::ButtonNext.toString(), icon(Glyph::Next)},
        {Panel::ButtonPrev.toString(), icon(Glyph::Prev)},
        {Panel::ButtonFastForward.toString(), icon(Glyph::FastForward)},
        {Panel::ButtonRewind.toString(), icon(Glyph::Rewind)},
        {Panel::ButtonOpen.toString(), icon(Glyph::Playlist)},
        {Panel::ButtonMinimize.toString(), tab(Glyph::Minimize)},
        {Panel::ButtonHide.toString(), tab(Glyph::Hide)},
        {Panel::ButtonExit.toString(), tab(Glyph::Close)},
        {Panel::ButtonMarkIn.toString(), label("IN")},
        {Panel::ButtonMarkOut.toString(), label("OUT")},
        {Panel::ButtonTop.toString(), toggle("TOP")},
        {Panel::ButtonFix.toString(), toggle("FIX")},
        {Panel::ButtonDefault.toString(), label("1:1")},
        {Panel::ButtonFull.toString(), icon(Glyph::FullScreen)},
        // Down means muted, so the lit face says so.
        {Panel::ButtonMute.toString(), icon(Glyph::Speaker, Glyph::SpeakerMuted)},
        {Panel::ButtonBackSkip.toString(), icon(Glyph::SkipBack)},
        {Panel::ButtonForwardSkip.toString(), icon(Glyph::SkipForward)},
    };
    return table;
}

// The display recess: a full-width title line, and below it, left of the size buttons, the
// line of the time, total and entry number.
QPainterPath displayOutline(const SkinLayout& layout) {
    const Display& title = layout.display(Panel::TextTitle);
    int left = title.origin.x();
    for (const Display& d : layout.displays()) left = std::min(left, d.origin.x());
    const QRect sizeButtons = spanOf(layout, {Panel::ButtonFull, Panel::ButtonDefault});
    int bottom = layout.faceSize().height();
    for (const Track& t : layout.tracks()) bottom = std::min(bottom, t.top);
    const QRectF titleLine(left - 9, title.origin.y() - 4, 0, 0);
    const QRectF upper(titleLine.topLeft(),
                       QPointF(layout.faceSize().width() - 6, sizeButtons.top() - 1));
    const QRectF lower(titleLine.topLeft(), QPointF(sizeButtons.left() - 4, bottom - 3));
    QPainterPath a;
    a.addRoundedRect(upper.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    QPainterPath b;
    b.addRoundedRect(lower.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    return a.united(b).simplified();
}

// A groove through the middle of the thumb's 11-pixel band, the length of the track.
void paintGroove(QPainter& p, const Track& track) {
    const QRectF groove(track.left + 1, track.top + 4, track.length - 2, 3);
    QPainterPath path;
    path.addRoundedRect(groove, 1.5, 1.5);
    p.fillPath(path.translated(0, 1), style::grooveLip());
    p.fillPath(path, style::grooveFill());
}

void paintTracks(QPainter& p, const SkinLayout& layout) {
    for (const Track& track : layout.tracks()) paintGroove(p, track);
    // The size slider's label: a picture-size sign between the mute button and the track.
    const Track& size = layout.track(Panel::TrackBarSize);
    const int from = layout.hotArea(Panel::ButtonMute).rect.right() + 1;
    const QPointF centre((from + size.left) / 2.0, size.top + 5.5);
    p.fillPath(glyphPath(Glyph::PictureSize, centre), style::labelInk());
}

void paintWordmark(QPainter& p, const SkinLayout& layout) {
    const QRect left = layout.hotArea(Panel::ButtonFix).rect;
    const QRect right = layout.hotArea(Panel::ButtonMinimize).rect;
    QFont font = style::uiFont(9);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.2);
    const QString word = QStringLiteral("KORVEL");
    const QFontMetricsF metrics(font);
    const qreal textWidth = metrics.horizontalAdvance(word) - 2.2;
    const qreal logoWidth = glyphWidth(Glyph::Logo);
    const qreal total = logoWidth + 5 + textWidth;
    const qreal x = std::round((left.right() + 1 + right.left() - total) / 2.0);
    const qreal cy = left.top() + left.height() / 2.0;
    p.fillPath(glyphPath(Glyph::Logo, QPointF(x + logoWidth / 2.0, cy)), style::accent(210));
    p.setFont(font);
    p.setPen(style::labelInk());
    p.drawText(QPointF(x + logoWidth + 5, std::round(cy + metrics.capHeight() / 2.0)), word);
}

void paintPlayerTrays(QPainter& p, const SkinLayout& layout) {
    paintTray(p, spanOf(layout, {Panel::ButtonPrev, Panel::ButtonRewind, Panel::ButtonPlay,
                                 Panel::ButtonPause, Panel::ButtonStop, Panel::ButtonFastForward,
                                 Panel::ButtonNext}));
    paintTray(p, spanOf(layout, {Panel::ButtonOpen, Panel::ButtonMarkIn, Panel::ButtonMarkOut}));
    paintTray(p, spanOf(layout, {Panel::ButtonTop, Panel::ButtonFix}), true);
    paintTray(p, spanOf(layout, {Panel::ButtonMinimize, Panel::ButtonHide, Panel::ButtonExit}),
              true);
    paintTray(p, spanOf(layout, {Panel::ButtonFull, Panel::ButtonDefault}));
}

} // namespace

QImage paintPlayerFace(const SkinLayout& layout, bool lit) {
    return paintFace(layout, playerButtonArt(), lit, [&layout](QPainter& p) {
        paintPlayerTrays(p, layout);
        paintInset(p, displayOutline(layout));
        paintTracks(p, layout);
        paintWordmark(p, layout);
    });
}

} // namespace korvel::skinart
