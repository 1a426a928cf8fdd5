#pragma once

#include "base/KorvelError.h"
#include "engine/MpvMediaControl.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace korvel::test {

// The folder of the generated test clips (made once per test run, see ClipsEnvironment).
QString clipsDir();
QString clip(const QString& name);

// Everything a control raised, in order, with the time since the recorder began.
struct Recorder {
    struct Position {
        std::int64_t position;
        std::int64_t length;
        qint64 at;
    };
    std::vector<std::pair<int, int>> states;
    std::vector<qint64> stateTimes;
    std::vector<Position> positions;
    std::vector<std::pair<std::int64_t, std::int64_t>> seeks;
    QStringList failures;
    // Each size told ahead of the first frame, with the state the clip was in then.
    std::vector<std::pair<QSize, int>> earlySizes;
    QElapsedTimer clock;

    explicit Recorder(MediaControl& control);
    int lastState() const { return states.empty() ? -1 : states.back().second; }
    bool sawState(int state) const;
    // Index of the first report with position == length > 0 from `from` on, or -1.
    int endReport(std::size_t from = 0) const;
};

// A control with silent sound and, by default, no picture. With the sound output "pcm" the
// engine writes what it would play into audiodump.wav in the working folder, as fast as it
// decodes.
std::unique_ptr<MpvMediaControl>
makeControl(MpvMediaControl::Options::Picture picture = MpvMediaControl::Options::Picture::None,
            int openTimeoutMs = 20000, const QString& audioOutput = QStringLiteral("null"));

// The loudest sample (0..1) of what the "pcm" sound output wrote into `folder`, or -1 when it
// wrote no sample.
double loudestSound(const QString& folder);

// Waits (running the event loop) until `done` holds or `ms` pass; returns whether it held.
bool waitUntil(const std::function<bool()>& done, int ms = 5000);

// Loads `name` from the clips and waits until it has opened (Paused).
void openClip(MpvMediaControl& control, Recorder& recorder, const QString& name);
// Opens `name` and plays it to its end.
void playThrough(MpvMediaControl& control, Recorder& recorder, const QString& name);

} // namespace korvel::test
