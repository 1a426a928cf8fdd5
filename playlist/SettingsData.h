#pragma once

#include "base/FirstPictureSize.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <array>
#include <vector>

namespace korvel {

// One entry as the settings file keeps it: the list's columns Play, Group, Count, FileName,
// Start, End and Path or URL, in that order; index i holds list column i + 1. The No. column
// is not kept: the list numbers its entries again after loading.
using SettingsRow = std::array<QString, 7>;

// What the settings file remembers between runs. A plain value; the defaults are what a
// start without a settings file gets.
struct SettingsData {
    // Outer top-left corners of the three windows, screen pixels; any value, negative ones
    // included (a window may stand partly off the left or top of the screen).
    QPoint imageWindowPos{5, 5};
    QPoint playListPos{325, 5};
    // Below the playback window at its first size (320 x 240 at 5, 5) with room for the
    // caption and borders a window manager gives it: a frame over the panel would hide its
    // TOP button under a window kept on top.
    QPoint playerPos{40, 300};

    // The player panel's FIX switch. The playback window takes clientSize at start only when
    // it is on; clientSize is stored whatever it is.
    bool windowFix = false;
    QSize clientSize = FirstPictureSize;

    // Positions 0..100 of the panel's picture size and volume sliders. Stored at exit and
    // read back, but the panel's sliders do not take them at start.
    int scrSize = 0;
    int volume = 0;

    // The folder the player's file dialogs open in (LastFolder); empty until one was used.
    QString openFolder;
    // The skin of both skinned windows by its name; empty for the built-in one.
    QString skin;

    // The entries 1..N of the list, at most 254.
    std::vector<SettingsRow> rows;

    bool operator==(const SettingsData&) const = default;
};

} // namespace korvel
