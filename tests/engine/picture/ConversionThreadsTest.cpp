#include "engine/picture/ConversionThreads.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvel;
using std::chrono::milliseconds;

namespace {

// `count` frames of one size, each converted in `took` ms, `since` ms after the one before.
struct Frames {
    QSize size;
    int took;
    int since;
    int count;
};

// The counts the engine is asked for over the runs, in order.
std::string asked(unsigned cores, const std::vector<Frames>& runs) {
    ConversionThreads threads(cores);
    std::string told;
    for (const Frames& run : runs)
        for (int frame = 0; frame < run.count; ++frame)
            if (const char* count = threads.converted(run.size, milliseconds(run.took),
                                                      milliseconds(frame ? run.since : 0)))
                told += std::string(told.empty() ? "" : " ") + count;
    return told;
}

} // namespace

// A 3840x2160 frame at 30 a second (33 ms apart) converts in about 16 ms on one thread of
// this kind of machine; at 60 (17 ms apart) that is most of its time.
TEST(ConversionThreads, SlicesOnlyWhatOneThreadCannotKeepUpWithWhereCoresAreFree) {
    const QSize uhd(3840, 2160);
    const QSize hd(1920, 1080);
    const struct {
        const char* what;
        unsigned cores;
        std::vector<Frames> runs;
        const char* told;
    } rows[] = {
        {"a clip that converts in well under its time", 8, {{uhd, 16, 33, 60}}, "1"},
        {"half its time or more, with cores to spare", 8, {{uhd, 16, 17, 60}}, "1 auto"},
        {"the same on two cores, which the decoder keeps busy", 2, {{uhd, 16, 17, 60}}, "1"},
        {"not before a window of frames was seen", 8, {{uhd, 16, 17, 15}}, "1"},
        {"a pause or a seek now and then changes nothing",
         8,
         {{uhd, 10, 33, 7}, {uhd, 10, 2000, 1}, {uhd, 10, 33, 7}, {uhd, 10, 900, 1}},
         "1"},
        {"sliced stays sliced while the size stays, however fast",
         8,
         {{uhd, 16, 17, 16}, {uhd, 2, 17, 60}},
         "1 auto"},
        {"each new size starts on one thread, and is sliced only if it too lags",
         8,
         {{uhd, 16, 17, 16}, {hd, 4, 17, 30}, {uhd, 16, 17, 16}},
         "1 auto 1 auto"},
    };
    for (const auto& row : rows) EXPECT_EQ(asked(row.cores, row.runs), row.told) << row.what;
}
