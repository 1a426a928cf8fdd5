#include "skin/SkinEngine.h"

#include "base/FixedTexts.h"
#include "base/KorvelError.h"

#include "skin/FaceComposer.h"
#include "skin/FaceInputs.h"
#include "skin/MaskRegion.h"

#include <utility>

namespace korvel {

SkinEngine::SkinEngine(SkinWindow* window) : m_window(window) {}

SkinEngine::~SkinEngine() = default;

void SkinEngine::LoadSkin(const QString& name) {
    m_windowRegion.reset();
    SkinLoader(m_model, *this).LoadSkin(name);
}

void SkinEngine::loadDescription(const QByteArray& description) {
    m_windowRegion.reset();
    SkinLoader(m_model, *this).LoadDescription(description);
}

namespace {

// A prepared skin has no window of its own yet; its mask's system colours are those of the
// window it is for.
class PaletteOf : public SkinWindow {
public:
    explicit PaletteOf(QPalette palette) : m_palette(std::move(palette)) {}
    void resizeTo(QSize) override {}
    void setShape(const std::optional<QRegion>&) override {}
    void showFace() override {}
    QPalette palette() const override { return m_palette; }

private:
    QPalette m_palette;
};

} // namespace

std::unique_ptr<SkinEngine> SkinEngine::prepared(const SkinSource& source,
                                                 const QString& name) const {
    PaletteOf palette(m_window ? m_window->palette() : QPalette());
    auto fresh = std::make_unique<SkinEngine>(&palette);
    fresh->setKeyColor(m_model.KeyColor);
    fresh->setTolerance(m_model.Tolerance);
    // Every picture is read now, also for a window that rests: a broken one must be told
    // before the skin is taken, not when the window is next shown.
    SkinLoader(fresh->m_model, *fresh).LoadSkin(source, name);
    // A mask cut away everywhere would leave a window nobody can see or reach.
    if (fresh->m_windowRegion && fresh->m_windowRegion->isEmpty()) {
        throw KorvelError(FixedTexts::SkinFileUnusable.arg(source.filePath(fresh->m_model.MaskName),
                                                           FixedTexts::SkinMaskLeavesNothing));
    }
    fresh->m_window = nullptr;
    return fresh;
}

void SkinEngine::adopt(SkinEngine& prepared) {
    CarryElementStates(m_model, prepared.m_model);
    prepared.m_model.KeyColor = m_model.KeyColor;
    prepared.m_model.Tolerance = m_model.Tolerance;
    m_model = std::move(prepared.m_model);
    m_windowRegion = prepared.m_windowRegion;
    m_size = prepared.m_size;
    m_face = QImage();
    m_composedFrom.reset();
    if (m_resting)
        m_model.MouseUpBitmap = m_model.MouseOnBitmap = m_model.MouseDownBitmap = QImage();
    if (m_window) {
        m_window->resizeTo(m_size);
        m_window->setShape(m_windowRegion);
    }
    PaintFace();
}

void SkinEngine::ApplyShape() {
    const QSize maskSize = m_model.MaskBitmap.size();
    m_face = QImage(); // the next drawing makes a face of the new size
    m_composedFrom.reset();
    m_size = maskSize;
    if (m_window) m_window->resizeTo(maskSize);
    m_windowRegion = CreateRegionFromMask(m_model.MaskBitmap, m_model.KeyColor, m_model.Tolerance,
                                          m_window ? m_window->palette() : QPalette());
    // The mask is for the shape alone; its pixels are not kept for the life of the window.
    m_model.MaskBitmap = QImage();
    if (m_window) m_window->setShape(m_windowRegion);
    PaintFace();
}

void SkinEngine::rest(bool resting) {
    if (resting == m_resting) return;
    m_resting = resting;
    if (resting) {
        m_model.MouseUpBitmap = m_model.MouseOnBitmap = m_model.MouseDownBitmap = QImage();
        m_face = QImage();
        m_composedFrom.reset();
        return;
    }
    if (!m_model.MouseUpName.isEmpty()) SkinLoader(m_model, *this).readLooks();
    PaintFace();
}

void SkinEngine::ensureFace() {
    if (m_face.size() != m_size || m_face.isNull()) m_face = FaceComposer::newFace(m_size);
}

void SkinEngine::show() {
    if (m_window) m_window->showFace();
}

void SkinEngine::PaintFace() { composeFrom(FaceInputs::of(m_model)); }

// The composition changes nothing the inputs hold, so they may be taken before it.
void SkinEngine::composeFrom(FaceInputs inputs) {
    if (m_resting) return;
    ensureFace();
    FaceComposer::PaintFace(m_model, m_face);
    m_composedFrom = std::move(inputs);
    show();
}

// The element operations compose the whole face, which the panel asks for many times a
// second while a clip plays, mostly with the value already shown. When the face is still
// exactly the composition of what the model now holds, composing again would give the same
// pixels: only the composition's mark on the model is left.
void SkinEngine::composeUnlessShown() {
    FaceInputs now = FaceInputs::of(m_model);
    if (m_composedFrom && m_face.size() == m_size && *m_composedFrom == now) {
        m_model.FaceStale = false;
        return;
    }
    composeFrom(std::move(now));
}

void SkinEngine::copyArea(const QImage& look, int hotArea) {
    if (m_resting) return;
    ensureFace();
    m_composedFrom.reset(); // the face now shows a look the composition does not draw
    FaceComposer::copyArea(m_face, look, m_model.HotAreas[std::size_t(hotArea)].rect());
    show();
}

void SkinEngine::SetButtonState(QStringView id, bool state) {
    const int i = m_model.FindHotArea(id);
    if (i < 0) return;
    m_model.HotAreas[std::size_t(i)].Down = state;
    composeUnlessShown();
}

bool SkinEngine::GetButtonState(QStringView id) const {
    const int i = m_model.FindHotArea(id);
    return i >= 0 && m_model.HotAreas[std::size_t(i)].Down;
}

void SkinEngine::SetDisplayText(QStringView id, const QString& text) {
    if (const int i = m_model.findDisplay(id); i >= 0) m_model.Displays[std::size_t(i)].Text = text;
    composeUnlessShown();
}

std::int32_t SkinEngine::GetTrackBarPosition(QStringView id) const {
    const int i = m_model.findTrackBar(id);
    return i < 0 ? 0 : m_model.TrackBars[std::size_t(i)].Position;
}

bool SkinEngine::IsTrackBarDragged(QStringView id) const {
    const int i = m_model.findTrackBar(id);
    return i >= 0 && m_model.Dragging && m_model.ActiveTrackBar == i;
}

void SkinEngine::SetTrackBarPosition(QStringView id, std::int32_t position) {
    const int i = m_model.findTrackBar(id);
    if (i < 0) return;
    TrackBarInfoRec& bar = m_model.TrackBars[std::size_t(i)];
    // Past an End mark the play position exceeds 100 and wraps; a negative value is 0.
    bar.Position = std::uint8_t(std::max(0, position) % 101);
    PlaceThumb(bar);
    composeUnlessShown();
}

} // namespace korvel
