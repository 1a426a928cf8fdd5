// The window shape from a mask, beside Qt's own mask path and a plain read of the pixels.

#include "skin/JpegReader.h"
#include "skin/MaskRegion.h"
#include "skin/SkinResources.h"

#include <benchmark/benchmark.h>

#include <QBitmap>
#include <QPainter>

#include <cstdint>

namespace {

using namespace korvel;

// Many shapes on a cut-away (white) ground: a realistic worst case of many runs per row.
QImage shapes4K() {
    QImage mask(3840, 2160, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (int y = 0; y < 2160; y += 90) {
        for (int x = (y / 90 % 2) * 45; x < 3840; x += 90) painter.drawEllipse(x, y, 80, 70);
    }
    return mask;
}

const QImage& maskNamed(const std::string& name) {
    static const QImage player = JpegReader::read(SkinResources::find(u"JPG", u"PLAYERMASK"));
    static const QImage list = JpegReader::read(SkinResources::find(u"JPG", u"LISTMASK"));
    static const QImage big = shapes4K();
    return name == "PlayerMask" ? player : name == "ListMask" ? list : big;
}

void setItems(benchmark::State& state, const QImage& mask) {
    state.counters["items"] = double(mask.width()) * mask.height();
}

// The run extraction alone, to tell it from the region assembly.
void runsOnly(benchmark::State& state, const std::string& name) {
    const QImage& mask = maskNamed(name);
    for (auto _ : state) {
        auto runs = ExtractMaskRuns(mask, KeyRange::from(0xFFFFFF, 0));
        benchmark::DoNotOptimize(runs.data());
    }
    setItems(state, mask);
}

void korvelRegion(benchmark::State& state, const std::string& name) {
    const QImage& mask = maskNamed(name);
    for (auto _ : state) {
        auto region = CreateRegionFromMask(mask, 0xFFFFFF, 0, QPalette());
        benchmark::DoNotOptimize(region);
    }
    setItems(state, mask);
}

void qtRegion(benchmark::State& state, const std::string& name) {
    const QImage& mask = maskNamed(name);
    for (auto _ : state) {
        const QImage bits = mask.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskOutColor);
        QRegion region(QBitmap::fromImage(bits));
        benchmark::DoNotOptimize(region);
    }
    setItems(state, mask);
}

void plainRead(benchmark::State& state, const std::string& name) {
    const QImage& mask = maskNamed(name);
    for (auto _ : state) {
        std::uint32_t sum = 0;
        const int width = mask.width(), height = mask.height();
        for (int y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(mask.constScanLine(y));
            for (int x = 0; x < width; ++x) sum += row[x];
        }
        benchmark::DoNotOptimize(sum);
    }
    setItems(state, mask);
}

[[maybe_unused]] const bool registered = [] {
    for (const char* name : {"PlayerMask", "ListMask", "Shapes4K"}) {
        benchmark::RegisterBenchmark((std::string("Region/Korvel/") + name).c_str(), korvelRegion,
                                     std::string(name))
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("Region/QtBitmap/") + name).c_str(), qtRegion,
                                     std::string(name))
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("Region/PlainRead/") + name).c_str(), plainRead,
                                     std::string(name))
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("Region/RunsOnly/") + name).c_str(), runsOnly,
                                     std::string(name))
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

} // namespace
