// Composing the player's whole face, beside a plain copy of as many bytes.

#include "skin/FaceComposer.h"
#include "skin/SkinEngine.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using namespace korvel;

SkinEngine& playerSkin() {
    static SkinEngine engine;
    static const bool loaded = [] {
        engine.LoadSkin(QStringLiteral("Skin"));
        engine.SetDisplayText(u"TEXT_TITLE", QStringLiteral("デモ映像 — Korvel"));
        engine.SetDisplayText(u"TEXT_POS", QStringLiteral("00:01:05"));
        engine.SetDisplayText(u"TEXT_TOTAL", QStringLiteral("/ 00:03:00"));
        engine.SetDisplayText(u"TEXT_NO", QStringLiteral("No. --/--  "));
        return true;
    }();
    (void)loaded;
    return engine;
}

void paintFace(benchmark::State& state) {
    SkinEngine& engine = playerSkin();
    QImage face = FaceComposer::newFace(engine.size());
    for (auto _ : state) {
        FaceComposer::PaintFace(engine.model(), face);
        benchmark::DoNotOptimize(face.constBits());
    }
}

void plainCopy(benchmark::State& state) {
    SkinEngine& engine = playerSkin();
    const QImage& source = engine.model().MouseUpBitmap;
    QImage face = FaceComposer::newFace(engine.size());
    for (auto _ : state) {
        std::memcpy(face.bits(), source.constBits(), std::size_t(source.sizeInBytes()));
        benchmark::DoNotOptimize(face.constBits());
    }
}

} // namespace

BENCHMARK(paintFace)->Name("Face/PaintFace")->Unit(benchmark::kMicrosecond);
BENCHMARK(plainCopy)->Name("Face/PlainCopy")->Unit(benchmark::kMicrosecond);
