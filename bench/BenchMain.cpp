#include "RatioReporter.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Qt's own mask path needs pixmaps, so a (display-less) GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    korvel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nRatios\n");
    for (const char* mask : {"PlayerMask", "ListMask", "Shapes4K"}) {
        const std::string ours = std::string("Region/Korvel/") + mask;
        const std::string qt = std::string("Region/QtBitmap/") + mask;
        const std::string read = std::string("Region/PlainRead/") + mask;
        std::printf("%-58s %8.3f ns/pixel\n", (ours + " ").c_str(),
                    reporter.nanosecondsPerItem(ours));
        reporter.printRatio(ours + " vs Qt's mask path", ours, qt, "below 1");
        reporter.printRatio(ours + " vs a plain read", ours, read, "within 3");
    }
    reporter.printRatio("PaintFace of the player face vs a plain copy", "Face/PaintFace",
                        "Face/PlainCopy", "none set");
    return 0;
}
