#pragma once

#include <QStringView>

#include <array>

namespace korvel {

// The keys of the settings file, spelled once: the reader and the writer take them from here,
// and a test holds the README and the manual page to this table, so none can drift.
namespace SettingsKey {

inline constexpr QStringView ImageWindowPosX = u"ImageWindowPosX";
inline constexpr QStringView ImageWindowPosY = u"ImageWindowPosY";
inline constexpr QStringView PlayListPosX = u"PlayListPosX";
inline constexpr QStringView PlayListPosY = u"PlayListPosY";
inline constexpr QStringView PlayerPosX = u"PlayerPosX";
inline constexpr QStringView PlayerPosY = u"PlayerPosY";
inline constexpr QStringView WindowFix = u"WindowFix";
inline constexpr QStringView ClientWidth = u"ClientWidth";
inline constexpr QStringView ClientHeight = u"ClientHeight";
inline constexpr QStringView ScrSize = u"ScrSize";
inline constexpr QStringView Volume = u"Volume";
// The folder the file dialogs open in; written once one was used.
inline constexpr QStringView OpenFolder = u"OpenFolder";
inline constexpr QStringView ListRow = u"ListRow";
// The name of the skin chosen, empty (or missing) for the built-in one.
inline constexpr QStringView Skin = u"Skin";
// One key per entry: this prefix and the entry number, 1 upward, without leading zeros.
inline constexpr QStringView RowData = u"RowData";

// Every key, in the order a save writes them.
inline constexpr std::array<QStringView, 15> InWrittenOrder = {
    ImageWindowPosX, ImageWindowPosY, PlayListPosX, PlayListPosY, PlayerPosX,
    PlayerPosY,      WindowFix,       ClientWidth,  ClientHeight, ScrSize,
    Volume,          OpenFolder,      Skin,         ListRow,      RowData,
};

} // namespace SettingsKey
} // namespace korvel
