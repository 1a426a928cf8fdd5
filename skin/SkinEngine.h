#pragma once

#include "skin/FaceInputs.h"
#include "skin/SkinElements.h"
#include "skin/SkinLoader.h"
#include "skin/SkinModel.h"

#include <QImage>
#include <QPalette>
#include <QRegion>
#include <QSize>

#include <memory>
#include <optional>

namespace korvel {

// What the skin asks of the window it fills.
class SkinWindow {
public:
    virtual ~SkinWindow() = default;
    // Size the window and the component to the mask (borderless: outer and inner agree).
    virtual void resizeTo(QSize size) = 0;
    // Shape the window; no region gives it back its full rectangle.
    virtual void setShape(const std::optional<QRegion>& region) = 0;
    // The face changed: the screen is to show it as it now is.
    virtual void showFace() = 0;
    // Resolves system colours of the key and tolerance.
    virtual QPalette palette() const = 0;
};

// The skin component without its widget: the loaded skin, the face composed from it, the
// window shape, and the element operations the owning windows call by element name.
// Runs without a display; the widget only forwards to it and shows the face.
class SkinEngine : public SkinElements, private SkinLoaderHost {
public:
    explicit SkinEngine(SkinWindow* window = nullptr);
    ~SkinEngine() override;
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;

    void LoadSkin(const QString& name);
    void loadDescription(const QByteArray& description);
    // Another skin, taken only when the whole of it loads: `prepared` reads it into an engine
    // of its own (nothing of this one changes, and a failure leaves this skin in use), and
    // `adopt` then takes its looks, tables and shape, the window its size. The elements of
    // the new skin keep the states the old one's elements of the same names had.
    std::unique_ptr<SkinEngine> prepared(const SkinSource& source, const QString& name) const;
    void adopt(SkinEngine& prepared);
    void ApplyShape() override;
    void PaintFace() override;
    // Copies one hot area's rectangle from a look image to the face and shows it.
    void copyArea(const QImage& look, int hotArea);
    // A window nobody sees needs neither its looks nor its face: while it rests they are let
    // go (its shape, tables and element states stay, and change as ever), and they are read
    // and composed anew when the rest ends.
    void rest(bool resting);
    bool resting() const { return m_resting; }

    // Element operations: names match exactly, the first element of the name wins, an
    // unknown name changes nothing (reads give false or 0). The setters leave the face as a
    // whole composition leaves it.
    void SetButtonState(QStringView id, bool state) override;
    bool GetButtonState(QStringView id) const override;
    void SetDisplayText(QStringView id, const QString& text) override;
    std::int32_t GetTrackBarPosition(QStringView id) const override;
    void SetTrackBarPosition(QStringView id, std::int32_t position) override;
    bool IsTrackBarDragged(QStringView id) const override;

    // Take effect at the next load.
    void setKeyColor(std::uint32_t color) { m_model.KeyColor = color; }
    void setTolerance(std::uint32_t tolerance) { m_model.Tolerance = tolerance; }

    SkinModel& model() { return m_model; }
    const SkinModel& model() const { return m_model; }
    const QImage& face() const { return m_face; }
    QSize size() const { return m_size; }
    const std::optional<QRegion>& WindowRegion() const { return m_windowRegion; }

private:
    bool wantsLooks() const override { return !m_resting; }
    void ensureFace();
    void show();
    void composeUnlessShown();
    void composeFrom(FaceInputs inputs);

    SkinWindow* m_window;
    SkinModel m_model;
    QImage m_face;
    QSize m_size;
    std::optional<QRegion> m_windowRegion;
    // What the face was last composed from; none when something was drawn over it since.
    std::optional<FaceInputs> m_composedFrom;
    bool m_resting = false;
};

} // namespace korvel
