#pragma once

#include <QRect>
#include <QSize>
#include <QStringView>

namespace korvel {

// The elements of the built-in list skin "ListSkin", by the names its description gives them.
namespace ListElement {

inline constexpr QStringView Up = u"UP";
inline constexpr QStringView Down = u"DOWN";
inline constexpr QStringView Clear = u"CLEAR";
inline constexpr QStringView Cut = u"CUT";
inline constexpr QStringView Ok = u"OK";
inline constexpr QStringView Cancel = u"CANCEL";
inline constexpr QStringView Copy = u"COPY";
inline constexpr QStringView Paste = u"PASTE";
inline constexpr QStringView History = u"HISTORY";
inline constexpr QStringView Ram = u"RAM";
inline constexpr QStringView Add = u"ADD";
inline constexpr QStringView Shuffle = u"SHUFFLE";
inline constexpr QStringView Loop = u"LOOP";
inline constexpr QStringView Play = u"PLAY";

} // namespace ListElement

namespace ListSkin {

// The size of the skin's face, the playlist window's client area.
inline constexpr QSize FaceSize{600, 200};
// Where the list's grid covers the face: the skin draws the grid's frame just outside it.
inline constexpr QRect GridPlace{10, 25, 580, 140};

} // namespace ListSkin
} // namespace korvel
