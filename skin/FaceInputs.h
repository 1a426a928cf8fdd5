#pragma once

#include "skin/SkinModel.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

namespace korvel {

// Everything a composed face is made from, as it stood at one composition. Two equal
// snapshots compose to the same pixels, so a composition asked for when nothing changed can
// be left out without anyone seeing the difference. Images count by their cache keys, which
// change whenever an image's pixels may have changed.
class FaceInputs {
public:
    static FaceInputs of(const SkinModel& model);
    bool operator==(const FaceInputs&) const = default;

private:
    struct Area {
        QRect rect;
        bool shownDown = false;
        bool operator==(const Area&) const = default;
    };
    struct Bar {
        QPoint origin;
        bool horizontal = true;
        std::int32_t thumbOffset = 0;
        std::int64_t thumb = 0;
        std::int64_t activeThumb = 0;
        bool operator==(const Bar&) const = default;
    };
    struct Display {
        std::int32_t left = 0;
        std::int32_t top = 0;
        DisplayFont font;
        QString mode;
        QString text;
        bool operator==(const Display&) const = default;
    };

    std::int64_t m_upLook = 0;
    std::int64_t m_downLook = 0;
    std::int64_t m_numbers = 0;
    std::int64_t m_letters = 0;
    std::int32_t m_activeTrackBar = 0;
    std::vector<Area> m_areas;
    std::vector<Bar> m_bars;
    std::vector<Display> m_displays;
};

} // namespace korvel
