#pragma once

#include "base/FixedText.h"

#include <QtGlobal>

#include <array>

namespace korvel::PlayListTexts {

// The playlist window's texts outside its skin (context "PlayList"). Its column headings are
// the list's vocabulary (PlayListColumns.h) and stay as they are.
inline constexpr const char* Context = "PlayList";

// The kinds of list the save dialog offers.
inline constexpr FixedText RamFilter{Context, QT_TRANSLATE_NOOP("PlayList", "RAM files (*.ram)")};
inline constexpr FixedText M3u8Filter{Context,
                                      QT_TRANSLATE_NOOP("PlayList", "M3U8 lists (*.m3u8)")};
// What the edit fields are called for assistive tools.
inline constexpr FixedText GroupField{Context, QT_TRANSLATE_NOOP("PlayList", "File Group")};
inline constexpr FixedText UrlField{Context, QT_TRANSLATE_NOOP("PlayList", "File Location")};
inline constexpr FixedText CountField{Context, QT_TRANSLATE_NOOP("PlayList", "Play Count")};
// The grid of the list itself.
inline constexpr FixedText ListGrid{Context, QT_TRANSLATE_NOOP("PlayList", "Playlist")};

// Every text above, for the catalogues' check.
inline constexpr std::array All{RamFilter, M3u8Filter, GroupField, UrlField, CountField, ListGrid};

} // namespace korvel::PlayListTexts
